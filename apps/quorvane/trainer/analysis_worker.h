// analysis_worker.h: the trainer's analysis, worked out on a thread of its own so that no key, click or
// window of the host waits for it: the tables holds are valued by, the returns of optimal play and the
// strategy charts, likeliest needed first, and the hands drawn valued in the order they were drawn.
// No window system here: the host posts itself a message from notify, and the native tests run it.
#pragma once

#include "analysis/analysis.h"
#include "analysis/strategy_chart.h"
#include "analysis/weighted_analysis.h"
#include "apps/quorvane/trainer/trainer_log.h"   // HandToValue, JudgedHand

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct ValuedHand {
    HandToValue drawn;
    JudgedHand judged;            // unanalysed only when memory ran out for the tables
};

// What the trainer will be asked for, likeliest first.
struct AnalysisPlan {
    bool machine = true;          // the dealing in force is this machine's (false: an even deck)
    unsigned betSizes = 1u << 5;  // bit c: a tool on the panel bets c coins
    bool figures = true;          // the optimal returns and the charts too, not only the hold values
};

class AnalysisWorker {
public:
    // notify is called on the worker whenever something new is ready (tables, figures, hands valued).
    // heldBack: as HoldBack(true) before any work.
    AnalysisWorker(const AnalysisPlan &plan, std::function<void()> notify, bool heldBack = false, int threads = 2);
    // Cancels, and waits for the step under way; the host never destroys its own (see Cancel).
    ~AnalysisWorker();
    AnalysisWorker(const AnalysisWorker &) = delete;
    AnalysisWorker &operator=(const AnalysisWorker &) = delete;

    void SetPlan(const AnalysisPlan &plan);
    // Queued behind the hands before it; its valuation comes back through TakeValued, in order.
    void Value(const HandToValue &hand);
    std::vector<ValuedHand> TakeValued();
    // Nothing new starts while held (a test's hook: the windows are seen as a player sees them on a
    // machine slower than the work).
    void HoldBack(bool held);
    // Nothing new starts after this; it returns at once. The step under way (a second at most) ends with
    // the process: hands not valued are still waiting in the store and are valued at the next start.
    void Cancel();

    // Once built (null until then, or when memory ran out); never changed once there, so readers need no lock.
    const AnalysisTables *Tables() const;
    const WeightedTables *Machine(int coins) const;
    // The return of optimal play per coin bet at 5 coins and at 1 to 4: false until worked out.
    bool OptimalReturns(bool machine, double *five, double *fewer) const;
    const StrategyChart *Chart(bool machine) const;   // 5 coins; null until derived
    bool Failed(bool machine) const;                   // memory ran out for that dealing's work

    // How much of the plan's work for the dealing's figures is done, 0 to 100.
    int PercentDone(bool machine) const;
    // Nothing planned or queued is left to do (or the worker is held or cancelled).
    bool Idle() const;

private:
    enum Step { TablesStep, MachineStep1, MachineStep5 = MachineStep1 + 4, EvenReturnsStep, MachineReturnsStep,
                EvenChartStep, MachineChartStep, StepCount, ValueHandStep = StepCount, NoStep };
    Step NextStep() const;                 // under the lock
    std::vector<Step> Needs(Step step) const;
    Step FirstToDo(Step step) const;       // the step itself or what it needs first; NoStep when done
    bool Done(Step step) const { return done_[step]; }
    void Run();
    void Work(Step step);                  // without the lock
    void ValueFront(bool *tell);

    std::function<void()> notify_;
    const int threads_;
    mutable std::mutex lock_;              // held to read or change what follows, never while working
    std::condition_variable wake_;
    AnalysisPlan plan_;
    std::deque<HandToValue> queue_;
    std::vector<ValuedHand> valued_;
    bool held_ = false, cancelled_ = false, working_ = false;
    bool done_[StepCount] = {}, failed_[StepCount] = {};
    AnalysisTables *tables_ = nullptr;
    WeightedTables *machine_[MaxWager + 1] = {};
    double five_[2] = {}, fewer_[2] = {};  // by dealing: 0 the even deck, 1 this machine's
    StrategyChart chart_[2];
    std::thread thread_;
};
