// panel_store.cpp: deciding and writing saves, and the news of a restored panel (see panel_store.h).
#include "apps/quorvane/panel_store.h"

SaveResult PanelStore::Save(const std::string &path, SavedPanel panel, bool force)
{
    SaveResult result;
    if (!force && haveLastSaved && panel.SameContent(lastSaved))
        return result;
    panel.generation = lastSaved.generation + 1;
    if (!write(path, FormatPanelFile(panel), &result.error)) {
        result.outcome = SaveOutcome::Failed;
        result.firstFailure = !failing;
        failing = true;
        return result;
    }
    failing = false;
    lastSaved = panel;
    haveLastSaved = true;
    result.outcome = SaveOutcome::Saved;
    return result;
}

std::string Plural(int n, const char *one, const char *many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

RestoreNews NewsOfRestore(const PanelFileReport &report, int toolsRead, bool nothingRead, int absent,
                          const std::string &keptAs, int toolsNow, const std::string &fileName)
{
    RestoreNews news;
    std::string &message = news.text;
    int lost = report.LostTools();
    if (!report.Clean()) {
        message = "The panel file was damaged: ";
        if (nothingRead)
            message += "nothing in it could be read, so a fresh panel starts";
        else
            message += Plural(toolsRead, "tool was", "tools were") + " read back";
        if (lost > 0)
            message += ", " + Plural(lost, "tool", "tools") + " could not be read and start fresh";
        if (!keptAs.empty())
            message += "; the damaged file is kept as " + keptAs + ".";
        else
            message += "; no copy of the damaged file could be made, so this panel is not saved.";
    }
    if (absent > 0) {
        if (!message.empty())
            message += " ";
        message += Plural(absent, "tool needs a module that is", "tools need modules that are") +
                   " not loaded; kept in the panel file.";
    }
    news.warning = !message.empty();
    if (!news.warning)
        message = "Restored " + Plural(toolsNow, "tool", "tools") + " from " + fileName + ".";
    return news;
}
