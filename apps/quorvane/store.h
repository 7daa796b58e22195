// store.h: a panel's store: one SQLite file that keeps the panel (its window, settings and tools) and the
// tables of the host's companion, so that a save is one transaction and the two can never disagree.
// No window system here: the native tests run the same SQLite the host links.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "apps/quorvane/panel_file.h"

struct sqlite3;
struct sqlite3_stmt;

// A store's own file name extension, so that an older host never takes one for a damaged text file.
constexpr char StoreExtension[] = ".qpanel";
constexpr int StoreVersion = 1;                 // of the host's own tables; companions version theirs
constexpr int32_t StoreApplicationId = 0x51565031;   // "QVP1" in the file's header

// One prepared statement: Bind fills the parameters in order, columns count from 0.
class Statement {
public:
    Statement(sqlite3 *db, const char *sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool Ok() const { return statement_ != nullptr; }
    Statement &Bind(int64_t value);
    Statement &Bind(double value);
    Statement &Bind(const std::string &value);
    Statement &BindBlob(const std::vector<uint8_t> &value);
    bool Row();                     // the next row; false at the end or on an error (see Failed)
    bool Run();                     // steps to the end: true when it got there without an error
    bool Failed() const { return failed_; }
    void Reset();                   // to run again, with new bindings

    int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    std::vector<uint8_t> Blob(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3_stmt *statement_ = nullptr;
    int next_ = 1;
    bool failed_ = false;
};

enum class StoreState {
    Opened,       // an existing store, checked
    Created,      // a new, empty store
    Missing,      // no file, and none was to be made
    Damaged,      // not a database, or one that fails SQLite's check or our tables' shape
    Newer,        // written by a newer host: left alone
    Foreign,      // another program's database: left alone
    Failed,       // could not be opened at all (see why)
};

class Store {
public:
    Store() = default;
    ~Store() { Close(false); }
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // Opens the store at path (UTF-8), making it when missing and create is set, and checks it.
    // readOnly: for a reader beside a running host (a snapshot; nothing is written, not even the journal
    // mode). On any state but Opened and Created the store is closed again.
    StoreState Open(const std::string &path, bool create, bool readOnly, std::string *why);
    // A store in memory: the panel of a run that saves nothing.
    StoreState OpenInMemory(std::string *why);
    // A copy in memory of the store at path, read as one snapshot (the file is not written): a run that
    // saves nothing, and an export beside a running host.
    StoreState OpenInMemoryCopyOf(const std::string &path, std::string *why);
    // checkpoint: the log folded into the file first, as at the end of a run.
    void Close(bool checkpoint);
    bool IsOpen() const { return db_ != nullptr; }
    sqlite3 *Db() const { return db_; }
    const std::string &Path() const { return path_; }

    bool Exec(const char *sql);
    bool Begin();                   // one save's transaction, taking the write lock at once
    bool Commit();
    void Rollback();
    std::string Error() const;      // the last failure, as SQLite words it

    // The host's tables. ReadPanel reads what can be trusted and reports rows that fail their checks as
    // damaged tools, as the text file's reader does for lines.
    bool ReadPanel(SavedPanel *panel, PanelFileReport *report);
    bool WritePanel(const SavedPanel &panel);       // inside a transaction

    // The version of a companion's tables (0: none yet), kept by the host so each companion upgrades its own.
    int TablesVersion(const std::string &owner);
    bool SetTablesVersion(const std::string &owner, int version);

private:
    StoreState Check(bool readOnly, std::string *why);
    sqlite3 *db_ = nullptr;
    std::string path_;
    std::string error_;
};

// An older host's panel file may keep no tool numbers, or one twice after an edit by hand: each tool gets
// the first number no tool before it has, and the panel's next number follows the highest.
void NumberOldTools(SavedPanel *panel);

// "C:\\x\\Quorvane.cfg" gives "C:\\x\\Quorvane.qpanel"; a path already ending in the extension stays.
std::string StorePathFor(const std::string &panelPath);
bool IsStoreFile(const std::string &path);    // begins as an SQLite database does

// A damaged store is moved aside as "<name>.bad1", "<name>.bad2", ... (the first name free: none is ever
// overwritten), its log with it; returns the new name, empty when it could not be moved.
std::string MoveDamagedStoreAside(const std::string &path);

// What can still be read of a damaged store, table by table and row by row, copied into a fresh one
// inside its transaction (the host's tables and every other, a companion's too). True when anything was
// copied; whole says whether everything was.
bool SalvageStore(const std::string &damagedPath, Store &into, bool *whole);

// The file system as the store needs it, here so that the native tests run the same steps.
bool StoreFileExists(const std::string &path);
bool RenameStoreFile(const std::string &from, const std::string &to);   // fails when to exists
void RemoveStoreFile(const std::string &path);
