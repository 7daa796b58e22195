// store_test.cpp: the panel's store on the SQLite the host links: one transaction for the panel and the
// trainer's rows, a full disk through a file system that fails on demand, the caps, an older host's files
// imported, and damaged, newer and foreign stores.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "analysis/cards.h"
#include "apps/quorvane/panel_store.h"
#include "apps/quorvane/store.h"
#include "apps/quorvane/trainer/memory_store.h"
#include "tests/quorvane/judged_hands.h"

namespace {

// The default file system, but every write fails with "disk full" while diskFull is set.
bool diskFull = false;
sqlite3_vfs *realVfs;
sqlite3_vfs faultyVfs;
sqlite3_io_methods faultyMethods;
struct ShimFile {
    sqlite3_file base;
    sqlite3_file *real;
};
sqlite3_file *Real(sqlite3_file *f)
{
    return reinterpret_cast<ShimFile *>(f)->real;
}

int ShimOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    ShimFile *shim = reinterpret_cast<ShimFile *>(file);
    shim->real = reinterpret_cast<sqlite3_file *>(shim + 1);
    int rc = realVfs->xOpen(realVfs, name, shim->real, flags, outFlags);
    shim->base.pMethods = rc == SQLITE_OK && shim->real->pMethods ? &faultyMethods : nullptr;
    return rc;
}

void InstallFaultyVfs()
{
    if (realVfs)
        return;
    realVfs = sqlite3_vfs_find(nullptr);
    faultyVfs = *realVfs;
    faultyVfs.zName = "faulty";
    faultyVfs.szOsFile = static_cast<int>(sizeof(ShimFile)) + realVfs->szOsFile;
    faultyVfs.xOpen = ShimOpen;
    faultyMethods.iVersion = 3;
    faultyMethods.xClose = [](sqlite3_file *f) { return Real(f)->pMethods->xClose(Real(f)); };
    faultyMethods.xRead = [](sqlite3_file *f, void *b, int n, sqlite3_int64 o) { return Real(f)->pMethods->xRead(Real(f), b, n, o); };
    faultyMethods.xWrite = [](sqlite3_file *f, const void *b, int n, sqlite3_int64 o) {
        return diskFull ? SQLITE_FULL : Real(f)->pMethods->xWrite(Real(f), b, n, o);
    };
    faultyMethods.xTruncate = [](sqlite3_file *f, sqlite3_int64 s) { return Real(f)->pMethods->xTruncate(Real(f), s); };
    faultyMethods.xSync = [](sqlite3_file *f, int flags) { return Real(f)->pMethods->xSync(Real(f), flags); };
    faultyMethods.xFileSize = [](sqlite3_file *f, sqlite3_int64 *s) { return Real(f)->pMethods->xFileSize(Real(f), s); };
    faultyMethods.xLock = [](sqlite3_file *f, int l) { return Real(f)->pMethods->xLock(Real(f), l); };
    faultyMethods.xUnlock = [](sqlite3_file *f, int l) { return Real(f)->pMethods->xUnlock(Real(f), l); };
    faultyMethods.xCheckReservedLock = [](sqlite3_file *f, int *r) { return Real(f)->pMethods->xCheckReservedLock(Real(f), r); };
    faultyMethods.xFileControl = [](sqlite3_file *f, int op, void *a) { return Real(f)->pMethods->xFileControl(Real(f), op, a); };
    faultyMethods.xSectorSize = [](sqlite3_file *f) { return Real(f)->pMethods->xSectorSize(Real(f)); };
    faultyMethods.xDeviceCharacteristics = [](sqlite3_file *f) { return Real(f)->pMethods->xDeviceCharacteristics(Real(f)); };
    faultyMethods.xShmMap = [](sqlite3_file *f, int r, int s, int e, void volatile **p) { return Real(f)->pMethods->xShmMap(Real(f), r, s, e, p); };
    faultyMethods.xShmLock = [](sqlite3_file *f, int o, int n, int fl) { return Real(f)->pMethods->xShmLock(Real(f), o, n, fl); };
    faultyMethods.xShmBarrier = [](sqlite3_file *f) { Real(f)->pMethods->xShmBarrier(Real(f)); };
    faultyMethods.xShmUnmap = [](sqlite3_file *f, int d) { return Real(f)->pMethods->xShmUnmap(Real(f), d); };
    faultyMethods.xFetch = [](sqlite3_file *f, sqlite3_int64 o, int n, void **p) { return Real(f)->pMethods->xFetch(Real(f), o, n, p); };
    faultyMethods.xUnfetch = [](sqlite3_file *f, sqlite3_int64 o, void *p) { return Real(f)->pMethods->xUnfetch(Real(f), o, p); };
    sqlite3_vfs_register(&faultyVfs, 1);
}

// A folder of its own for each test, emptied first.
std::string Folder(const char *name)
{
    std::string folder = std::string(testing::TempDir()) + "quorvane-store-" + name;
    std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").c_str());
    return folder;
}

SavedPanel PanelOf(int tools, uint8_t seed)
{
    SavedPanel panel;
    panel.hasWindow = true;
    panel.window = {10, 20, 780, 560, false};
    panel.settings["trainer"] = "1";
    for (int i = 0; i < tools; ++i)
        panel.tools.push_back(SavedTool{"VideoPoker.dll", "Video Poker", 20 + 370 * i, 40, 360, 209,
                                        std::vector<uint8_t>(72, static_cast<uint8_t>(seed + i)), i + 1});
    panel.nextNumber = tools + 1;
    return panel;
}

// The trainer's side of a save, as the host's companion does it.
TrainerMemory memory;
MemoryChanges changes;
bool failCompanion = false;
bool WriteMemory(Store &store)
{
    return !failCompanion && WriteTrainerChanges(store, memory, changes);
}

// A hand drawn on the tool; valued: its valuation came back before the next save.
int64_t lastDrawn = 0;
HandToValue Played(int tool, const JudgedHand &judged, bool valued = true)
{
    HandToValue drawn;
    drawn.id = ++lastDrawn;
    drawn.toolNumber = tool;
    drawn.hand = judged.hand;
    NoteDrawn(changes, drawn);
    if (valued)
        RememberAndNote(memory, changes, drawn, judged);
    return drawn;
}

std::vector<HandToValue> Waiting(Store &store)
{
    std::vector<HandToValue> waiting;
    int64_t lastId = 0;
    int bad = 0;
    EXPECT_TRUE(ReadWaitingHands(store, &waiting, &lastId, &bad) && bad == 0);
    return waiting;
}

SavedPanel Reopened(const std::string &path, TrainerMemory *remembered)
{
    Store store;
    std::string why;
    EXPECT_EQ(store.Open(path, false, true, &why), StoreState::Opened) << why;
    SavedPanel panel;
    PanelFileReport report;
    int bad = 0;
    EXPECT_TRUE(store.ReadPanel(&panel, &report) && report.Clean());
    EXPECT_TRUE(ReadTrainerMemory(store, remembered, &bad) && bad == 0);
    return panel;
}

class StoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        InstallFaultyVfs();
        diskFull = failCompanion = false;
        memory = TrainerMemory();
        changes = MemoryChanges();
    }
    void TearDown() override { diskFull = false; }
};

TEST_F(StoreTest, OneSaveCommitsThePursesAndTheMemoryTogetherOrNeither)
{
    const std::string path = Folder("together") + "/panel.qpanel";
    Store store;
    std::string why;
    ASSERT_EQ(store.Open(path, true, false, &why), StoreState::Created) << why;
    std::string made;
    // The last release's tables, brought up to this version: the hands waiting for their valuation join.
    ASSERT_TRUE(MakeTrainerTables(store, &made) && store.Exec("DROP TABLE trainer_waiting") &&
                store.SetTablesVersion(TrainerTablesOwner, 1));
    ASSERT_TRUE(MakeTrainerTables(store, &made)) << made;
    EXPECT_EQ(store.TablesVersion(TrainerTablesOwner), TrainerTablesVersion);
    PanelStore saves;
    SavedPanel panel = PanelOf(2, 1);
    Played(1, Judged("AS KS QS JS 2D", 0x11, 0x0F, 5, 0, 1.25, 18.5));
    SaveResult first = saves.Save(store, panel, false, !changes.Empty(), WriteMemory);
    ASSERT_EQ(first.outcome, SaveOutcome::Saved) << first.error;
    changes = MemoryChanges();
    EXPECT_EQ(saves.Save(store, panel, false, false, WriteMemory).outcome, SaveOutcome::Unchanged);

    // The purse paid for a hand, not yet valued, so it waits: the memory's write fails, so neither is kept.
    panel.tools[0].state[0] = 99;
    const JudgedHand second = Judged("9C 9D KS 4H 2C", 0x03, 0x03, 1, 1, 0.75, 0.75);
    const HandToValue drawn = Played(1, second, false);
    failCompanion = true;
    SaveResult failed = saves.Save(store, panel, false, true, WriteMemory);
    EXPECT_TRUE(failed.outcome == SaveOutcome::Failed && failed.firstFailure);
    EXPECT_FALSE(saves.Save(store, panel, false, true, WriteMemory).firstFailure) << "told once";
    TrainerMemory stored;
    EXPECT_EQ(Reopened(path, &stored).tools[0].state[0], 1) << "the purse as committed before";
    EXPECT_EQ(stored.panel.hands, 1) << "and the memory with it";

    failCompanion = false;
    ASSERT_EQ(saves.Save(store, panel, false, true, WriteMemory).outcome, SaveOutcome::Saved);
    changes = MemoryChanges();
    SavedPanel back = Reopened(path, &stored);
    EXPECT_TRUE(back.SameContent(panel)) << "the next tool number too";
    EXPECT_EQ(stored.panel.hands, 1);
    std::vector<HandToValue> waiting = Waiting(store);
    ASSERT_EQ(waiting.size(), 1u) << "the hand's facts, kept with the purse until valued";
    EXPECT_TRUE(waiting[0].id == drawn.id && waiting[0].hand.paid == 1 && waiting[0].hand.wager == 1 &&
                waiting[0].hand.heldMask == 0x03 && waiting[0].hand.cards[4] == drawn.hand.cards[4]);

    RememberAndNote(memory, changes, waiting[0], second);   // valued at the next start
    ASSERT_EQ(saves.Save(store, panel, false, true, WriteMemory).outcome, SaveOutcome::Saved);
    Reopened(path, &stored);
    EXPECT_TRUE(Waiting(store).empty());
    EXPECT_EQ(stored.panel.hands, 2);
    EXPECT_EQ(stored.panel.coinsBet, 6);
    EXPECT_EQ(stored.mistakes.size(), 1u);
}

TEST_F(StoreTest, AFullDiskIsToldAndThePlayItHeldBackIsSavedAtTheNextSave)
{
    const std::string path = Folder("full") + "/panel.qpanel";
    Store store;
    std::string why;
    ASSERT_EQ(store.Open(path, true, false, &why), StoreState::Created) << why;
    ASSERT_TRUE(MakeTrainerTables(store, &why));
    PanelStore saves;
    SavedPanel panel = PanelOf(1, 5);
    ASSERT_EQ(saves.Save(store, panel, false, false, WriteMemory).outcome, SaveOutcome::Saved);

    diskFull = true;
    for (int hand = 0; hand < 30; ++hand) {
        Played(1, Judged("AS KS QS JS 2D", 0x11, 0x0F, 5, 0, 1.25, 18.5));
        panel.tools[0].state[0] = static_cast<uint8_t>(hand);
        SaveResult result = saves.Save(store, panel, false, true, WriteMemory);
        ASSERT_EQ(result.outcome, SaveOutcome::Failed) << hand;
        EXPECT_EQ(result.firstFailure, hand == 0);
        EXPECT_TRUE(hand > 0 || result.error.find("full") != std::string::npos) << result.error;
    }
    EXPECT_TRUE(saves.Unsaved(panel)) << "Close asks before it quits";
    TrainerMemory stored;
    EXPECT_EQ(Reopened(path, &stored).tools[0].state[0], 5) << "the last committed panel, whole";
    EXPECT_EQ(stored.panel.hands, 0);

    diskFull = false;
    ASSERT_EQ(saves.Save(store, panel, false, true, WriteMemory).outcome, SaveOutcome::Saved);
    changes = MemoryChanges();
    EXPECT_FALSE(saves.Unsaved(panel));
    EXPECT_EQ(Reopened(path, &stored).tools[0].state[0], 29);
    EXPECT_EQ(stored.panel.hands, 30) << "no hand played while the disk was full is lost";
    EXPECT_EQ(stored.mistakes.size(), 30u);
    EXPECT_EQ(stored.hands.size(), 30u);
}

TEST_F(StoreTest, TheMemoryKeepsTheNewestRowsAndARemovedToolsLifetimeGoes)
{
    const std::string path = Folder("caps") + "/panel.qpanel";
    Store store;
    std::string why;
    ASSERT_EQ(store.Open(path, true, false, &why), StoreState::Created);
    ASSERT_TRUE(MakeTrainerTables(store, &why));
    PanelStore saves;
    for (int round = 0; round < 6; ++round) {
        for (int hand = 0; hand < 400; ++hand) {
            int paid = round * 1000 + hand;
            Played(1 + hand % 2, Judged("AS KS QS JS 2D", 0x11, 0x0F, 1, paid % 9, 1.0, 2.0));
            memory.mistakes.back().wager = changes.mistakes.back().wager = 1 + paid % 5;
        }
        ASSERT_EQ(saves.Save(store, PanelOf(2, 0), false, true, WriteMemory).outcome, SaveOutcome::Saved);
        changes = MemoryChanges();
    }
    ForgetAndNote(memory, changes, 2);
    ASSERT_EQ(saves.Save(store, PanelOf(2, 0), false, true, WriteMemory).outcome, SaveOutcome::Saved);
    TrainerMemory stored;
    Reopened(path, &stored);
    ASSERT_EQ(stored.hands.size(), MaxHandPoints);
    ASSERT_EQ(stored.mistakes.size(), MaxRememberedMistakes);
    EXPECT_EQ(stored.panel.hands, 2400);
    EXPECT_EQ(stored.tools.count(2), 0u) << "a removed tool's lifetime goes";
    EXPECT_EQ(stored.tools[1].hands, 1200);
    for (const char *table : {"trainer_hands", "trainer_mistakes"}) {
        Statement count(store.Db(), (std::string("SELECT count(*) FROM ") + table).c_str());
        EXPECT_TRUE(count.Row() && count.Int(0) == (table[8] == 'h' ? 2000 : 500)) << table << ": the store stays small";
    }
    for (size_t i = 0; i < memory.hands.size(); ++i)
        ASSERT_TRUE(stored.hands[i].paid == memory.hands[i].paid && stored.hands[i].toolNumber == memory.hands[i].toolNumber)
            << "the newest, in order, the removed tool's hands kept under no tool: " << i;
    for (size_t i = 0; i < memory.mistakes.size(); ++i)
        ASSERT_EQ(stored.mistakes[i].wager, memory.mistakes[i].wager) << i;

}

TEST_F(StoreTest, AnOlderHostsFilesImportWhole)
{
    // The panel file with and without tool numbers (two with one number, by a hand's edit), and the
    // trainer's file beside it, as an older host wrote them.
    SavedPanel old = PanelOf(4, 7);
    old.tools[2].number = 0;
    old.tools[3].number = 1;
    std::string text = FormatPanelFile(old);
    PanelFileReport report;
    SavedPanel parsed = ParsePanelFile(text.data(), text.size(), &report);
    ASSERT_TRUE(report.Clean());
    NumberOldTools(&parsed);
    std::vector<int> numbers;
    for (const SavedTool &tool : parsed.tools)
        numbers.push_back(tool.number);
    EXPECT_EQ(numbers, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(parsed.nextNumber, 5);
    TrainerMemory remembered;
    Remember(remembered, 2, Judged("AS KS QS JS 2D", 0x11, 0x0F, 5, 0, 1.25, 18.5));
    Remember(remembered, 3, Judged("9C 9D KS 4H 2C", 0x03, 0x03, 1, 1, 0.75, 0.75));
    std::string memoryText = FormatTrainerFile(remembered);
    TrainerFileReport memoryReport;
    TrainerMemory readMemory = ParseTrainerFile(memoryText.data(), memoryText.size(), &memoryReport);
    ASSERT_EQ(memoryReport.badLines, 0);

    const std::string path = Folder("import") + "/panel.qpanel";
    Store store;
    std::string why;
    ASSERT_EQ(store.Open(path, true, false, &why), StoreState::Created);
    ASSERT_TRUE(store.Begin() && store.WritePanel(parsed) && CreateTrainerTables(store) &&
                WriteWholeMemory(store, readMemory) && store.Commit()) << store.Error();
    store.Close(true);
    TrainerMemory stored;
    EXPECT_TRUE(Reopened(path, &stored).SameContent(parsed));
    EXPECT_EQ(FormatTrainerFile(stored), memoryText) << "what the export writes, the import reads";

    // What an older host could write, its reader now takes; what it could not, is told and not taken as newer.
    PlaySummary big;
    big.hands = 1000000001;
    remembered.panel = big;
    memoryText = FormatTrainerFile(remembered);
    ParseTrainerFile(memoryText.data(), memoryText.size(), &memoryReport);
    EXPECT_EQ(memoryReport.badLines, 0);
    for (const char *damaged : {"quorvane-trainer 0\npanel 0 0 0 0 0 0 0 0\n", "quorvane-trainer 1\n"}) {
        ParseTrainerFile(damaged, strlen(damaged), &memoryReport);
        EXPECT_TRUE(memoryReport.badLines == 1 && !memoryReport.newerVersion && !memoryReport.empty) << damaged;
    }
    ParseTrainerFile("", 0, &memoryReport);
    EXPECT_TRUE(memoryReport.empty);
}

void Corrupt(const std::string &path, long offset, const std::string &bytes)
{
    FILE *file = fopen(path.c_str(), "r+b");
    ASSERT_TRUE(file);
    fseek(file, offset, SEEK_SET);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::string Contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_F(StoreTest, ADamagedStoreIsKeptAsideUnderANewNameAndWhatReadsIsSalvaged)
{
    const std::string folder = Folder("damage"), path = folder + "/panel.qpanel";
    for (int damage = 1; damage <= 2; ++damage) {
        {
            Store store;
            std::string why;
            ASSERT_EQ(store.Open(path, true, false, &why), StoreState::Created);
            ASSERT_TRUE(MakeTrainerTables(store, &why));
            ASSERT_TRUE(store.Begin() && store.WritePanel(PanelOf(3, 1)) && store.Commit());
            store.Close(true);
        }
        // The sqlite_schema's page keeps, the pages after it are scribbled on.
        Corrupt(path, 4096 + 8, std::string(200, '\x5a'));
        Store store;
        std::string why;
        EXPECT_EQ(store.Open(path, true, false, &why), StoreState::Damaged) << damage;
        std::string aside = MoveDamagedStoreAside(path);
        EXPECT_EQ(aside, path + ".bad" + std::to_string(damage)) << "never over an earlier one";
        ASSERT_EQ(store.Open(path, true, false, &why), StoreState::Created);
        bool whole = true;
        store.Begin();
        SalvageStore(aside, store, &whole);
        ASSERT_TRUE(store.Commit());
        EXPECT_FALSE(whole);
        SavedPanel panel;
        PanelFileReport report;
        EXPECT_TRUE(store.ReadPanel(&panel, &report)) << "a panel to start from, whatever was lost";
        store.Close(false);
        RemoveStoreFile(path);
    }
    EXPECT_TRUE(StoreFileExists(path + ".bad1") && StoreFileExists(path + ".bad2"));

    // Not a database at all, one of a newer host, another program's: told, and left as they are.
    Store store;
    std::string why;
    std::ofstream(folder + "/text.qpanel") << "quorvane-panel\t1\t3\n";
    EXPECT_EQ(store.Open(folder + "/text.qpanel", true, false, &why), StoreState::Damaged);
    const std::pair<const char *, StoreState> others[] = {
        {"PRAGMA application_id = 1364611121; PRAGMA user_version = 2", StoreState::Newer},
        {"PRAGMA application_id = 7; CREATE TABLE t(x)", StoreState::Foreign}};
    for (const auto &other : others) {
        const std::string otherPath = folder + "/other.qpanel";
        RemoveStoreFile(otherPath);
        sqlite3 *db = nullptr;
        sqlite3_open(otherPath.c_str(), &db);
        sqlite3_exec(db, other.first, nullptr, nullptr, nullptr);
        sqlite3_close(db);
        const std::string before = Contents(otherPath);
        EXPECT_EQ(store.Open(otherPath, true, false, &why), other.second) << other.first;
        EXPECT_EQ(Contents(otherPath), before);
    }
}

} // namespace
