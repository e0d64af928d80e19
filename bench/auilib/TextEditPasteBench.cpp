// A long paste into a multi-line edit with a character limit, against a plain QPlainTextEdit that
// inserts only the text the limit keeps, and one that takes the whole paste.
#include "MultiLineEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>

#include <benchmark/benchmark.h>

#include <memory>

using namespace AUILib;

namespace {

QString PastedText(int length)
{
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text.append(QChar('a' + i % 26));
    return text;
}

void PasteIntoLimitedEdit(benchmark::State& state, int limit)
{
    const int length = static_cast<int>(state.range(0));
    QApplication::clipboard()->setText(PastedText(length));
    for (auto _ : state) {
        state.PauseTiming();
        auto edit = std::make_unique<MultiLineEdit>();
        edit->SetLimitText(limit);
        auto* widget = static_cast<QPlainTextEdit*>(edit->GetPlatformHandle());
        state.ResumeTiming();
        widget->paste();
        state.PauseTiming();
        if (widget->toPlainText().size() != std::min(limit, length))
            state.SkipWithError("the limit was not kept");
        edit.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(length);
}

void InsertKeptTextIntoPlainEdit(benchmark::State& state, int limit)
{
    const int length = static_cast<int>(state.range(0));
    const QString kept = PastedText(length).left(limit);
    for (auto _ : state) {
        state.PauseTiming();
        auto widget = std::make_unique<QPlainTextEdit>();
        state.ResumeTiming();
        widget->insertPlainText(kept);
        state.PauseTiming();
        widget.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(length);
}

void PasteIntoPlainEdit(benchmark::State& state)
{
    const int length = static_cast<int>(state.range(0));
    QApplication::clipboard()->setText(PastedText(length));
    for (auto _ : state) {
        state.PauseTiming();
        auto widget = std::make_unique<QPlainTextEdit>();
        state.ResumeTiming();
        widget->paste();
        state.PauseTiming();
        widget.reset();
        state.ResumeTiming();
    }
    state.SetComplexityN(length);
}

// Pasted lengths; the time of each family is fitted against them.
void PastedLengths(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Complexity();
}

BENCHMARK_CAPTURE(PasteIntoLimitedEdit, limit5, 5)->Apply(PastedLengths);
BENCHMARK_CAPTURE(InsertKeptTextIntoPlainEdit, limit5, 5)->Apply(PastedLengths);
BENCHMARK_CAPTURE(PasteIntoLimitedEdit, limit50000, 50000)->Apply(PastedLengths);
BENCHMARK_CAPTURE(InsertKeptTextIntoPlainEdit, limit50000, 50000)->Apply(PastedLengths);
BENCHMARK(PasteIntoPlainEdit)->Apply(PastedLengths);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
