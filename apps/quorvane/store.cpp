// store.cpp: the panel's store on SQLite (see store.h).
#include "apps/quorvane/store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

// The host's tables. The panel's one row holds the window's place and the number the next tool takes;
// tools keep their stacking order in z, bottom first.
static const char HostSchema[] =
    "CREATE TABLE panel(id INTEGER PRIMARY KEY CHECK (id = 1), generation INTEGER NOT NULL,"
    " next_number INTEGER NOT NULL, has_window INTEGER NOT NULL, x INTEGER, y INTEGER, width INTEGER,"
    " height INTEGER, maximized INTEGER);"
    "INSERT INTO panel VALUES (1, 0, 1, 0, 0, 0, 0, 0, 0);"
    "CREATE TABLE settings(name TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;"
    "CREATE TABLE tools(number INTEGER PRIMARY KEY, z INTEGER NOT NULL, module TEXT NOT NULL,"
    " type TEXT NOT NULL, x INTEGER NOT NULL, y INTEGER NOT NULL, width INTEGER NOT NULL,"
    " height INTEGER NOT NULL, state BLOB);"
    "CREATE TABLE companions(name TEXT PRIMARY KEY, version INTEGER NOT NULL) WITHOUT ROWID;";

Statement::Statement(sqlite3 *db, const char *sql)
{
    if (!db || sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
        failed_ = true;
    }
}

Statement::~Statement()
{
    sqlite3_finalize(statement_);
}

Statement &Statement::Bind(int64_t value)
{
    if (statement_ && sqlite3_bind_int64(statement_, next_++, value) != SQLITE_OK)
        failed_ = true;
    return *this;
}

Statement &Statement::Bind(double value)
{
    if (statement_ && sqlite3_bind_double(statement_, next_++, value) != SQLITE_OK)
        failed_ = true;
    return *this;
}

Statement &Statement::Bind(const std::string &value)
{
    if (statement_ && sqlite3_bind_text(statement_, next_++, value.data(), static_cast<int>(value.size()),
                                        SQLITE_TRANSIENT) != SQLITE_OK)
        failed_ = true;
    return *this;
}

Statement &Statement::BindBlob(const std::vector<uint8_t> &value)
{
    int rc = value.empty() ? sqlite3_bind_null(statement_, next_++)
                           : sqlite3_bind_blob(statement_, next_++, value.data(), static_cast<int>(value.size()),
                                               SQLITE_TRANSIENT);
    if (statement_ && rc != SQLITE_OK)
        failed_ = true;
    return *this;
}

bool Statement::Row()
{
    if (!statement_ || failed_)
        return false;
    int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW)
        return true;
    failed_ = rc != SQLITE_DONE;
    return false;
}

bool Statement::Run()
{
    while (Row()) {
    }
    return !failed_;
}

void Statement::Reset()
{
    if (!statement_)
        return;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    next_ = 1;
    failed_ = false;
}

int64_t Statement::Int(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

double Statement::Real(int column) const
{
    return sqlite3_column_double(statement_, column);
}

std::string Statement::Text(int column) const
{
    const unsigned char *text = sqlite3_column_text(statement_, column);
    return text ? std::string(reinterpret_cast<const char *>(text), sqlite3_column_bytes(statement_, column))
                : std::string();
}

std::vector<uint8_t> Statement::Blob(int column) const
{
    const uint8_t *bytes = static_cast<const uint8_t *>(sqlite3_column_blob(statement_, column));
    return bytes ? std::vector<uint8_t>(bytes, bytes + sqlite3_column_bytes(statement_, column))
                 : std::vector<uint8_t>();
}

bool Statement::IsNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

namespace {

bool Int32Column(const Statement &row, int column, int64_t low, int64_t high, int32_t *value)
{
    if (row.IsNull(column))
        return false;
    int64_t v = row.Int(column);
    if (v < low || v > high)
        return false;
    *value = static_cast<int32_t>(v);
    return true;
}

} // namespace

StoreState Store::Open(const std::string &path, bool create, bool readOnly, std::string *why)
{
    Close(false);
    path_ = path;
    bool existed = StoreFileExists(path);
    if (!existed && (!create || readOnly))
        return StoreState::Missing;
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        *why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        Close(false);
        return StoreState::Failed;
    }
    // Saves of a running host may hold the write lock for a moment: readers and a second look wait a little.
    sqlite3_busy_timeout(db_, 2000);
    sqlite3_extended_result_codes(db_, 1);
    StoreState state = Check(readOnly, why);
    if (state != StoreState::Opened && state != StoreState::Created)
        Close(false);
    return state;
}

StoreState Store::OpenInMemory(std::string *why)
{
    Close(false);
    path_ = ":memory:";
    if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        *why = "out of memory";
        Close(false);
        return StoreState::Failed;
    }
    return Check(false, why);
}

StoreState Store::OpenInMemoryCopyOf(const std::string &path, std::string *why)
{
    Store file;
    StoreState state = file.Open(path, false, true, why);
    if (state != StoreState::Opened)
        return state;
    if (OpenInMemory(why) != StoreState::Created)
        return StoreState::Failed;
    sqlite3_backup *copy = sqlite3_backup_init(db_, "main", file.db_, "main");
    bool copied = copy && sqlite3_backup_step(copy, -1) == SQLITE_DONE;
    sqlite3_backup_finish(copy);
    if (!copied) {
        *why = Error();
        Close(false);
        return StoreState::Failed;
    }
    path_ = path;
    return StoreState::Opened;
}

StoreState Store::Check(bool readOnly, std::string *why)
{
    // The header first: a file that is no database at all fails here, before anything is written to it.
    Statement header(db_, "SELECT (SELECT application_id FROM pragma_application_id),"
                          " (SELECT user_version FROM pragma_user_version), (SELECT count(*) FROM sqlite_schema)");
    if (!header.Row()) {
        *why = Error();
        int code = sqlite3_errcode(db_) & 0xFF;
        return code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? StoreState::Damaged : StoreState::Failed;
    }
    int64_t applicationId = header.Int(0), version = header.Int(1), objects = header.Int(2);
    header.Reset();
    if (objects == 0 && applicationId == 0) {
        if (readOnly) {
            *why = "the store is empty";
            return StoreState::Damaged;
        }
        // A new store: the log beside it (so a killed host loses at most its last save, and no journal is
        // made and removed at every save), then the host's tables, then the marks that say whose it is.
        char marks[128];
        snprintf(marks, sizeof marks, "PRAGMA application_id = %d; PRAGMA user_version = %d;", StoreApplicationId,
                 StoreVersion);
        if (!Exec("PRAGMA journal_mode = WAL") || !Exec("PRAGMA synchronous = NORMAL") || !Begin() ||
            !Exec(HostSchema) || !Exec(marks) || !Commit()) {
            *why = Error();
            Rollback();
            return StoreState::Failed;
        }
        return StoreState::Created;
    }
    if (applicationId != StoreApplicationId) {
        *why = "it is not a Quorvane panel";
        return StoreState::Foreign;
    }
    if (version > StoreVersion) {
        *why = "it was written by a newer Quorvane (version " + std::to_string(version) + ")";
        return StoreState::Newer;
    }
    if (version < 1) {
        *why = "it has no version";
        return StoreState::Damaged;
    }
    Statement check(db_, "PRAGMA quick_check(1)");
    if (!check.Row() || check.Text(0) != "ok") {
        *why = check.Failed() ? Error() : "SQLite's check says: " + check.Text(0);
        return StoreState::Damaged;
    }
    check.Reset();
    Statement tables(db_, "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND"
                          " name IN ('panel', 'settings', 'tools', 'companions')");
    if (!tables.Row() || tables.Int(0) != 4) {
        *why = "the host's tables are missing";
        return StoreState::Damaged;
    }
    tables.Reset();
    if (!readOnly && (!Exec("PRAGMA journal_mode = WAL") || !Exec("PRAGMA synchronous = NORMAL"))) {
        *why = Error();
        return StoreState::Failed;
    }
    return StoreState::Opened;
}

void Store::Close(bool checkpoint)
{
    if (!db_)
        return;
    if (checkpoint)
        sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool Store::Exec(const char *sql)
{
    char *message = nullptr;
    if (!db_)
        return false;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error_ = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    return false;
}

bool Store::Begin()
{
    return Exec("BEGIN IMMEDIATE");
}

bool Store::Commit()
{
    return Exec("COMMIT");
}

void Store::Rollback()
{
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

std::string Store::Error() const
{
    if (!db_)
        return error_.empty() ? "the store is not open" : error_;
    int code = sqlite3_extended_errcode(db_);
    std::string text = code != SQLITE_OK ? sqlite3_errmsg(db_) : error_;
    return text.empty() ? "unknown error" : text;
}

bool Store::ReadPanel(SavedPanel *panel, PanelFileReport *report)
{
    *panel = SavedPanel();
    *report = PanelFileReport();
    report->empty = false;
    Statement head(db_, "SELECT generation, next_number, has_window, x, y, width, height, maximized FROM panel");
    if (!head.Row())
        return false;
    panel->generation = static_cast<uint32_t>(head.Int(0));
    int32_t next = 1;
    Int32Column(head, 1, 1, INT32_MAX, &next);
    panel->nextNumber = next;
    SavedWindow window;
    int32_t maximized = 0;
    panel->hasWindow = head.Int(2) != 0 && Int32Column(head, 3, INT32_MIN, INT32_MAX, &window.x) &&
                       Int32Column(head, 4, INT32_MIN, INT32_MAX, &window.y) &&
                       Int32Column(head, 5, 1, INT32_MAX, &window.width) &&
                       Int32Column(head, 6, 1, INT32_MAX, &window.height) &&
                       Int32Column(head, 7, 0, 1, &maximized) && WindowFitsLimits(window);
    window.maximized = maximized != 0;
    if (panel->hasWindow)
        panel->window = window;

    Statement settings(db_, "SELECT name, value FROM settings ORDER BY name");
    while (settings.Row())
        panel->settings[settings.Text(0)] = settings.Text(1);

    Statement tools(db_, "SELECT number, module, type, x, y, width, height, state FROM tools ORDER BY z, number");
    while (tools.Row()) {
        SavedTool tool;
        tool.moduleFile = tools.Text(1);
        tool.typeName = tools.Text(2);
        tool.state = tools.Blob(7);
        bool good = Int32Column(tools, 0, 1, MaxToolNumber, &tool.number) &&
                    Int32Column(tools, 3, INT32_MIN, INT32_MAX, &tool.x) &&
                    Int32Column(tools, 4, INT32_MIN, INT32_MAX, &tool.y) &&
                    Int32Column(tools, 5, INT32_MIN, INT32_MAX, &tool.width) &&
                    Int32Column(tools, 6, INT32_MIN, INT32_MAX, &tool.height) && ToolFitsLimits(tool);
        if (!good) {
            ++report->damagedToolLines;
        } else if (static_cast<int>(panel->tools.size()) >= MaxPanelTools) {
            ++report->droppedTools;
        } else {
            panel->tools.push_back(tool);
            panel->nextNumber = std::max(panel->nextNumber, tool.number + 1);
        }
    }
    if (head.Failed() || settings.Failed() || tools.Failed())
        return false;
    report->headerFound = report->endFound = true;
    return true;
}

bool Store::WritePanel(const SavedPanel &panel)
{
    Statement head(db_, "UPDATE panel SET generation = ?, next_number = ?, has_window = ?, x = ?, y = ?,"
                        " width = ?, height = ?, maximized = ?");
    const SavedWindow &w = panel.window;
    head.Bind(int64_t(panel.generation)).Bind(int64_t(std::max(panel.nextNumber, 1))).Bind(int64_t(panel.hasWindow));
    head.Bind(int64_t(w.x)).Bind(int64_t(w.y)).Bind(int64_t(w.width)).Bind(int64_t(w.height)).Bind(int64_t(w.maximized));
    if (!head.Run() || !Exec("DELETE FROM settings; DELETE FROM tools"))
        return false;
    Statement setting(db_, "INSERT INTO settings VALUES (?, ?)");
    for (const auto &s : panel.settings) {
        setting.Reset();
        if (!setting.Bind(s.first).Bind(s.second).Run())
            return false;
    }
    Statement tool(db_, "INSERT INTO tools VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int64_t z = 0;
    for (const SavedTool &t : panel.tools) {
        tool.Reset();
        tool.Bind(int64_t(t.number)).Bind(z++).Bind(t.moduleFile).Bind(t.typeName).Bind(int64_t(t.x));
        tool.Bind(int64_t(t.y)).Bind(int64_t(t.width)).Bind(int64_t(t.height)).BindBlob(t.state);
        if (!tool.Run())
            return false;
    }
    return true;
}

int Store::TablesVersion(const std::string &owner)
{
    Statement version(db_, "SELECT version FROM companions WHERE name = ?");
    version.Bind(owner);
    return version.Row() ? static_cast<int>(version.Int(0)) : 0;
}

bool Store::SetTablesVersion(const std::string &owner, int version)
{
    Statement set(db_, "INSERT OR REPLACE INTO companions VALUES (?, ?)");
    return set.Bind(owner).Bind(int64_t(version)).Run();
}

void NumberOldTools(SavedPanel *panel)
{
    std::vector<int> kept;          // each number its first tool keeps
    std::vector<SavedTool *> unnumbered;
    for (SavedTool &tool : panel->tools) {
        if (tool.number > 0 && std::find(kept.begin(), kept.end(), tool.number) == kept.end())
            kept.push_back(tool.number);
        else
            unnumbered.push_back(&tool);
    }
    int next = 1;
    for (SavedTool *tool : unnumbered) {
        while (std::find(kept.begin(), kept.end(), next) != kept.end())
            ++next;
        tool->number = next;
        kept.push_back(next);
    }
    panel->nextNumber = 1;
    for (int number : kept)
        panel->nextNumber = std::max(panel->nextNumber, number + 1);
}

std::string StorePathFor(const std::string &panelPath)
{
    const size_t ext = sizeof StoreExtension - 1;
    if (panelPath.size() >= ext && panelPath.compare(panelPath.size() - ext, ext, StoreExtension) == 0)
        return panelPath;
    size_t slash = panelPath.find_last_of("\\/");
    size_t dot = panelPath.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
        return panelPath.substr(0, dot) + StoreExtension;
    return panelPath + StoreExtension;
}

#ifdef _WIN32
namespace {
std::wstring Wide(const std::string &utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &wide[0], n);
    return wide;
}
} // namespace

bool StoreFileExists(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool RenameStoreFile(const std::string &from, const std::string &to)
{
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveStoreFile(const std::string &path)
{
    DeleteFileW(Wide(path).c_str());
}

static FILE *OpenForReading(const std::string &path)
{
    return _wfopen(Wide(path).c_str(), L"rb");
}
#else
bool StoreFileExists(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool RenameStoreFile(const std::string &from, const std::string &to)
{
    // link then unlink: like MoveFileEx without replacing, the target must not exist.
    if (link(from.c_str(), to.c_str()) != 0)
        return false;
    unlink(from.c_str());
    return true;
}

void RemoveStoreFile(const std::string &path)
{
    unlink(path.c_str());
}

static FILE *OpenForReading(const std::string &path)
{
    return fopen(path.c_str(), "rb");
}
#endif

bool IsStoreFile(const std::string &path)
{
    char header[16] = {};
    FILE *file = OpenForReading(path);
    if (!file)
        return false;
    size_t read = fread(header, 1, sizeof header, file);
    fclose(file);
    return read == sizeof header && memcmp(header, "SQLite format 3", 16) == 0;
}

std::string MoveDamagedStoreAside(const std::string &path)
{
    for (int n = 1; n < 1000; ++n) {
        std::string aside = path + ".bad" + std::to_string(n);
        if (StoreFileExists(aside) || StoreFileExists(aside + "-wal"))
            continue;
        if (!RenameStoreFile(path, aside))
            return "";
        if (StoreFileExists(path + "-wal"))
            RenameStoreFile(path + "-wal", aside + "-wal");
        RemoveStoreFile(path + "-shm");
        return aside;
    }
    return "";
}

bool SalvageStore(const std::string &damagedPath, Store &into, bool *whole)
{
    *whole = true;
    sqlite3 *old = nullptr;
    if (sqlite3_open_v2(damagedPath.c_str(), &old, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(old);
        *whole = false;
        return false;
    }
    std::vector<std::pair<std::string, std::string>> tables;   // name, and the statement that made it
    {
        Statement list(old, "SELECT name, sql FROM sqlite_schema WHERE type = 'table' AND sql IS NOT NULL"
                            " AND name NOT LIKE 'sqlite_%'");
        while (list.Row())
            tables.emplace_back(list.Text(0), list.Text(1));
        *whole = !list.Failed();
    }
    int copied = 0;
    for (const auto &table : tables) {
        const std::string &name = table.first;
        bool hostTable = name == "panel" || name == "settings" || name == "tools" || name == "companions";
        if (!hostTable && !into.Exec(table.second.c_str())) {
            *whole = false;
            continue;
        }
        if (name == "panel")
            into.Exec("DELETE FROM panel");
        std::string quoted = "\"" + name + "\"";
        sqlite3_stmt *read = nullptr, *write = nullptr;
        if (sqlite3_prepare_v2(old, ("SELECT * FROM " + quoted).c_str(), -1, &read, nullptr) == SQLITE_OK) {
            std::string values;
            for (int i = 0; i < sqlite3_column_count(read); ++i)
                values += i ? ", ?" : "?";
            sqlite3_prepare_v2(into.Db(), ("INSERT OR REPLACE INTO " + quoted + " VALUES (" + values + ")").c_str(),
                               -1, &write, nullptr);
        }
        // Row by row: a bad page ends the table's scan, and what came before it is kept.
        int rc = read && write ? SQLITE_ROW : SQLITE_ERROR;
        while (rc == SQLITE_ROW && (rc = sqlite3_step(read)) == SQLITE_ROW) {
            for (int i = 0; i < sqlite3_column_count(read); ++i)
                sqlite3_bind_value(write, i + 1, sqlite3_column_value(read, i));
            if (sqlite3_step(write) == SQLITE_DONE)
                ++copied;
            else
                *whole = false;
            sqlite3_reset(write);
        }
        if (rc != SQLITE_DONE)
            *whole = false;
        sqlite3_finalize(read);
        sqlite3_finalize(write);
    }
    sqlite3_close_v2(old);
    // The panel's row is the one row every store has: a lost one comes back as a new panel's.
    into.Exec("INSERT OR IGNORE INTO panel VALUES (1, 0, 1, 0, 0, 0, 0, 0, 0)");
    return copied > 0;
}
