// memory.cpp: the trainer's memory read at start, added to as hands are drawn, and written with the panel.
#include "apps/quorvane/trainer/memory.h"
#include "apps/quorvane/files.h"
#include "apps/quorvane/status_line.h"

namespace {

struct Kept {
    TrainerMemory memory;
    bool loaded = false;
    bool changed = false;       // play added to it since it was written
    bool leaveFile = false;     // a file we could not read, or a newer program's: never overwritten
    bool failing = false;       // the last write failed: told once, tried again at the next save
} kept;

std::string MemoryPath()
{
    return host.configPath + ".trainer";
}

// News from the memory file waits behind a warning still in view (the panel's own, at start): it joins it.
void Warn(const std::string &text)
{
    char shown[512] = {};
    if (host.statusWindow && GetTickCount() < host.warningUntil)
        GetWindowTextA(host.statusWindow, shown, sizeof shown);
    SetWarning(shown[0] ? std::string(shown) + " " + text : text);
}

void Load()
{
    kept.loaded = true;
    const std::string path = MemoryPath(), name = FileNameOf(path);
    std::string text;
    DWORD error = 0;
    if (!ReadWholeFile(path, &text, &error)) {
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return;   // nothing remembered yet
        kept.leaveFile = true;
        Warn("Could not read the trainer's memory " + name + " (error " + std::to_string(error) +
             "): the trainer starts afresh this run and leaves that file as it is.");
        return;
    }
    TrainerFileReport report;
    kept.memory = ParseTrainerFile(text.data(), text.size(), &report);
    if (report.newerVersion) {
        kept.leaveFile = true;
        Warn(name + " was written by a newer Quorvane: the trainer starts afresh this run and leaves it as it is.");
    } else if (report.badLines > 0) {
        // Kept for whoever wants to look at it; the next save writes what could be read.
        const std::string aside = path + ".bad";
        const bool copied = CopyFileA(path.c_str(), aside.c_str(), FALSE) != 0;
        kept.changed = true;   // so the news comes once: the next save leaves a clean file
        Warn("The trainer's memory " + name + " was damaged: " +
             Plural(report.badLines, "line was", "lines were") + " skipped, the rest kept" +
             (copied ? "; the file as it was is kept as " + FileNameOf(aside) + "." : "."));
    }
}

TrainerMemory &Loaded()
{
    if (!kept.loaded)
        Load();
    return kept.memory;
}

} // namespace

const TrainerMemory &Memory()
{
    return Loaded();
}

void RememberHand(int toolNumber, const JudgedHand &judged)
{
    Remember(Loaded(), toolNumber, judged);
    kept.changed = true;
}

void ForgetToolPlay(int toolNumber)
{
    if (Loaded().tools.count(toolNumber) == 0)
        return;
    ForgetTool(kept.memory, toolNumber);
    kept.changed = true;
}

void SaveMemory()
{
    if (!kept.changed || kept.leaveFile)
        return;
    DWORD error = 0;
    if (!WriteFileAtomically(MemoryPath(), FormatTrainerFile(kept.memory), &error)) {
        if (!kept.failing)
            Warn("Could not save the trainer's memory to " + MemoryFileName() + " (error " + std::to_string(error) +
                 "); trying again with the panel's next save.");
        kept.failing = true;
        return;
    }
    kept.changed = kept.failing = false;
}

std::string MemoryFileName()
{
    return FileNameOf(MemoryPath());
}
