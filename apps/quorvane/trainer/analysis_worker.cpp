// analysis_worker.cpp: the trainer's analysis on a thread of its own (see analysis_worker.h).
#include "apps/quorvane/trainer/analysis_worker.h"
#include "apps/quorvane/trainer/advice.h"   // JudgeHand

#include <algorithm>

namespace {

// Rough shares of the work, for the windows' "40%": the tables take about a second, a chart one or two.
constexpr int TablesWork = 30, MachineSizeWork = 5, ReturnsWork = 10, EvenChartWork = 15, MachineChartWork = 30;

} // namespace

AnalysisWorker::AnalysisWorker(const AnalysisPlan &plan, std::function<void()> notify, bool heldBack, int threads)
    : notify_(std::move(notify)), threads_(threads), plan_(plan), held_(heldBack)
{
    thread_ = std::thread(&AnalysisWorker::Run, this);
}

AnalysisWorker::~AnalysisWorker()
{
    Cancel();
    thread_.join();
    FreeAnalysisTables(tables_);
    for (WeightedTables *machine : machine_)
        FreeWeightedTables(machine);
}

void AnalysisWorker::SetPlan(const AnalysisPlan &plan)
{
    std::lock_guard<std::mutex> hold(lock_);
    plan_ = plan;
    wake_.notify_one();
}

void AnalysisWorker::Value(const HandToValue &hand)
{
    std::lock_guard<std::mutex> hold(lock_);
    queue_.push_back(hand);
    wake_.notify_one();
}

std::vector<ValuedHand> AnalysisWorker::TakeValued()
{
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<ValuedHand> taken;
    taken.swap(valued_);
    return taken;
}

void AnalysisWorker::HoldBack(bool held)
{
    std::lock_guard<std::mutex> hold(lock_);
    held_ = held;
    wake_.notify_one();
}

void AnalysisWorker::Cancel()
{
    std::lock_guard<std::mutex> hold(lock_);
    cancelled_ = true;
    wake_.notify_one();
}

const AnalysisTables *AnalysisWorker::Tables() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return tables_;
}

const WeightedTables *AnalysisWorker::Machine(int coins) const
{
    std::lock_guard<std::mutex> hold(lock_);
    return coins >= 1 && coins <= MaxWager ? machine_[coins] : nullptr;
}

bool AnalysisWorker::OptimalReturns(bool machine, double *five, double *fewer) const
{
    std::lock_guard<std::mutex> hold(lock_);
    const Step step = machine ? MachineReturnsStep : EvenReturnsStep;
    if (!done_[step] || failed_[step])
        return false;
    *five = five_[machine], *fewer = fewer_[machine];
    return true;
}

const StrategyChart *AnalysisWorker::Chart(bool machine) const
{
    std::lock_guard<std::mutex> hold(lock_);
    const Step step = machine ? MachineChartStep : EvenChartStep;
    return done_[step] && !failed_[step] ? &chart_[machine] : nullptr;
}

bool AnalysisWorker::Failed(bool machine) const
{
    std::lock_guard<std::mutex> hold(lock_);
    if (failed_[TablesStep])
        return true;
    return machine && std::any_of(failed_ + MachineStep1, failed_ + MachineStep5 + 1, [](bool f) { return f; });
}

int AnalysisWorker::PercentDone(bool machine) const
{
    std::lock_guard<std::mutex> hold(lock_);
    int all = 0, done = 0;
    auto count = [&](Step step, int work) {
        all += work;
        done += done_[step] ? work : 0;
    };
    count(TablesStep, TablesWork);
    if (machine)
        for (int coins = 1; coins <= MaxWager; ++coins)
            count(static_cast<Step>(MachineStep1 + coins - 1), MachineSizeWork);
    count(machine ? MachineReturnsStep : EvenReturnsStep, ReturnsWork);
    count(EvenChartStep, EvenChartWork);
    if (machine)
        count(MachineChartStep, MachineChartWork);
    return 100 * done / all;
}

bool AnalysisWorker::Idle() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return !working_ && NextStep() == NoStep;
}

std::vector<AnalysisWorker::Step> AnalysisWorker::Needs(Step step) const
{
    // The return at 5 coins is the one the chart's derivation works out: only 1 coin's is played again.
    switch (step) {
    case EvenReturnsStep:
        return {EvenChartStep};
    case EvenChartStep:
        return {TablesStep};
    case MachineReturnsStep:
        return {MachineStep1, MachineChartStep};
    case MachineChartStep:
        return {TablesStep, MachineStep5};
    default:
        return {};
    }
}

AnalysisWorker::Step AnalysisWorker::FirstToDo(Step step) const
{
    if (done_[step])
        return NoStep;
    for (Step need : Needs(step))
        if (FirstToDo(need) != NoStep)
            return FirstToDo(need);
    return step;
}

AnalysisWorker::Step AnalysisWorker::NextStep() const
{
    if (held_ || cancelled_)
        return NoStep;
    // The oldest hand drawn first: the tables it is valued by, then its valuation.
    if (!queue_.empty()) {
        const HandToValue &front = queue_.front();
        const int coins = front.hand.wager;
        if (!done_[TablesStep])
            return TablesStep;
        if (!front.evenDeck && coins >= 1 && coins <= MaxWager && !done_[MachineStep1 + coins - 1])
            return static_cast<Step>(MachineStep1 + coins - 1);
        return ValueHandStep;
    }
    // Then what the windows will ask for: the dealing in force at the panel's bets, its other bets, its
    // optimal returns, the even deck's chart (the mistakes' kinds name its lines), the machine's chart.
    std::vector<Step> order = {TablesStep};
    if (plan_.machine) {
        for (int coins = MaxWager; coins >= 1; --coins)
            if (plan_.betSizes & (1u << coins))
                order.push_back(static_cast<Step>(MachineStep1 + coins - 1));
        for (int coins = MaxWager; coins >= 1; --coins)
            order.push_back(static_cast<Step>(MachineStep1 + coins - 1));
    }
    if (plan_.figures) {
        order.push_back(EvenChartStep);
        order.push_back(plan_.machine ? MachineReturnsStep : EvenReturnsStep);
        order.push_back(MachineChartStep);
    }
    for (Step step : order)
        if (FirstToDo(step) != NoStep)
            return FirstToDo(step);
    return NoStep;
}

void AnalysisWorker::Run()
{
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        wake_.wait(hold, [&] { return cancelled_ || NextStep() != NoStep; });
        if (cancelled_)
            return;
        const Step step = NextStep();
        working_ = true;
        hold.unlock();
        bool tell = true;
        if (step == ValueHandStep)
            ValueFront(&tell);
        else
            Work(step);
        if (tell)
            notify_();
        hold.lock();
        working_ = false;
    }
}

void AnalysisWorker::ValueFront(bool *tell)
{
    HandToValue drawn;
    const AnalysisTables *tables;
    const WeightedTables *machine = nullptr;
    {
        std::lock_guard<std::mutex> hold(lock_);
        drawn = queue_.front();
        tables = tables_;
        if (!drawn.evenDeck && drawn.hand.wager >= 1 && drawn.hand.wager <= MaxWager)
            machine = machine_[drawn.hand.wager];
    }
    ValuedHand valued;
    valued.drawn = drawn;
    if (tables) {
        // When memory ran out for the machine's tables the hand is valued by an even deck, and says so.
        valued.judged = JudgeHand(*tables, drawn.hand, machine);
    } else {
        valued.judged.hand = drawn.hand;
        valued.judged.evenDeck = drawn.evenDeck;
    }
    std::lock_guard<std::mutex> hold(lock_);
    queue_.pop_front();
    // One message at a time is enough: the window's thread takes every hand valued when it comes.
    *tell = valued_.empty();
    valued_.push_back(valued);
}

void AnalysisWorker::Work(Step step)
{
    bool ok = false;
    if (step == TablesStep) {
        AnalysisTables *tables = CreateAnalysisTables(threads_);
        std::lock_guard<std::mutex> hold(lock_);
        tables_ = tables;
        ok = tables != nullptr;
    } else if (step >= MachineStep1 && step <= MachineStep5) {
        uint32_t weight[DeckSize];
        MachineCardWeights(weight);
        WeightedTables *machine = CreateWeightedTables(weight, step - MachineStep1 + 1, threads_);
        std::lock_guard<std::mutex> hold(lock_);
        machine_[step - MachineStep1 + 1] = machine;
        ok = machine != nullptr;
    } else if (step == EvenReturnsStep || step == MachineReturnsStep) {
        double five = 0, fewer = 0;
        const bool machine = step == MachineReturnsStep;
        const bool chartDerived = done_[machine ? MachineChartStep : EvenChartStep] &&
                                  !failed_[machine ? MachineChartStep : EvenChartStep];
        five = chart_[machine].optimalReturn;
        if (machine && chartDerived && machine_[1]) {
            WeightedGameAnalysis oneCoin;
            ok = AnalyzeWeightedGame(*machine_[1], threads_, oneCoin);
            fewer = static_cast<double>(oneCoin.optimalReturn);
        } else if (!machine && chartDerived) {
            GameAnalysis oneCoin;
            ok = AnalyzeGame(*tables_, 1, threads_, oneCoin);
            fewer = oneCoin.returnRate;
        }
        std::lock_guard<std::mutex> hold(lock_);
        five_[machine] = five, fewer_[machine] = fewer;
    } else if (step == EvenChartStep || step == MachineChartStep) {
        const bool machine = step == MachineChartStep;
        StrategyChart chart;
        ok = tables_ && (!machine || machine_[5]) &&
             DeriveStrategyChart(*tables_, machine ? machine_[5] : nullptr, 5, threads_, chart);
        std::lock_guard<std::mutex> hold(lock_);
        chart_[machine] = std::move(chart);
    }
    std::lock_guard<std::mutex> hold(lock_);
    done_[step] = true;
    failed_[step] = !ok;
}
