// panel_store.cpp: deciding and writing saves, and the news of a restored panel (see panel_store.h).
#include "apps/quorvane/panel_store.h"

SaveResult PanelStore::Save(Store &store, SavedPanel panel, bool force, bool companionPending, CompanionWriter write)
{
    SaveResult result;
    bool panelChanged = force || !haveLastSaved || !panel.SameContent(lastSaved);
    if (!panelChanged && !companionPending)
        return result;
    panel.generation = lastSaved.generation + (panelChanged ? 1 : 0);
    bool saved = store.Begin() && (!panelChanged || store.WritePanel(panel)) &&
                 (!companionPending || !write || write(store)) && store.Commit();
    if (!saved) {
        result.error = store.Error();
        store.Rollback();
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
                          const std::string &keptAs, int toolsNow, const std::string &fileName,
                          const std::vector<std::string> &fresh)
{
    RestoreNews news;
    std::string &message = news.text;
    int lost = report.LostTools();
    if (!report.Clean()) {
        message = "The panel file " + fileName + (report.empty ? " was empty: " : " was damaged: ");
        if (report.empty)
            message += "a fresh panel starts";
        else if (nothingRead)
            message += "nothing in it could be read, so a fresh panel starts";
        else
            message += Plural(toolsRead, "tool was", "tools were") + " read back";
        std::string names;
        for (size_t i = 0; i < fresh.size(); ++i)
            names += (i == 0 ? "" : i + 1 == fresh.size() ? " and " : ", ") + fresh[i];
        if (lost > 0 && static_cast<int>(fresh.size()) == lost)
            message += "; " + names + (lost == 1 ? " was" : " were") + " reset to a new game";
        else if (lost > 0)
            message += "; " + Plural(lost, "tool", "tools") + " could not be read and start fresh";
        message += keptAs.empty() ? "." : ". The file as it was is kept as " + keptAs + ".";
    }
    if (absent > 0) {
        if (!message.empty())
            message += " ";
        message += Plural(absent, "tool needs a module that is", "tools need modules that are") +
                   " not loaded; kept in the panel.";
    }
    news.warning = !message.empty();
    if (!news.warning)
        message = "Restored " + Plural(toolsNow, "tool", "tools") + " from " + fileName + ".";
    return news;
}
