// Saving and loading a full store: 300 used slots, 15-character Japanese titles and contents,
// 200-character addresses.

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "store/codec.h"
#include "store/data_file.h"
#include "store/store_line.h"

using namespace velandri;

namespace {

UrlStore fullStore() {
    const QString title = QStringLiteral("日本語の題名をちょうど十五文字");
    const QString content = QStringLiteral("説明の文章もちょうど十五文字分");
    UrlStore store;
    store.password = QStringLiteral("ひみつ");
    store.logoffMinutes = 30;
    for (int tab = 0; tab < kTabCount; ++tab) {
        store.tabNames[tab] = QStringLiteral("タブの名前%1").arg(tab);
        for (int slot = 0; slot < kSlotCount; ++slot) {
            QString url = QStringLiteral("https://www.example.jp/%1/%2/").arg(tab).arg(slot);
            url += QString(200 - url.size(), u'a');
            store.entries[tab][slot] = {QString(), title, url, content};
        }
    }
    return store;
}

void saveStore(benchmark::State& state) {
    QTemporaryDir folder;
    DataFile file({folder.filePath(QStringLiteral("Velandri")), folder.path()});
    UrlStore store = fullStore();
    for (auto _ : state) benchmark::DoNotOptimize(file.saveStore(store).has_value());
}
BENCHMARK(saveStore)->Unit(benchmark::kMillisecond);

void loadStore(benchmark::State& state) {
    QTemporaryDir folder;
    DataFile file({folder.filePath(QStringLiteral("Velandri")), folder.path()});
    UrlStore store = fullStore();
    if (!file.saveStore(store)) state.SkipWithError("the store could not be saved");
    for (auto _ : state) benchmark::DoNotOptimize(file.loadStore(store).has_value());
}
BENCHMARK(loadStore)->Unit(benchmark::kMillisecond);

void saveThenLoadStore(benchmark::State& state) {
    QTemporaryDir folder;
    DataFile file({folder.filePath(QStringLiteral("Velandri")), folder.path()});
    UrlStore store = fullStore();
    for (auto _ : state) {
        benchmark::DoNotOptimize(file.saveStore(store).has_value());
        benchmark::DoNotOptimize(file.loadStore(store).has_value());
    }
}
BENCHMARK(saveThenLoadStore)->Unit(benchmark::kMillisecond);

// The line alone, without the file system.
void encodeLineOnly(benchmark::State& state) {
    UrlStore store = fullStore();
    for (auto _ : state) benchmark::DoNotOptimize(encodeLine(store));
}
BENCHMARK(encodeLineOnly)->Unit(benchmark::kMillisecond);

void plainTextOnly(benchmark::State& state) {
    UrlStore store = fullStore();
    for (auto _ : state) benchmark::DoNotOptimize(plainText(store, QString()));
}
BENCHMARK(plainTextOnly)->Unit(benchmark::kMillisecond);

void scrambleOnly(benchmark::State& state) {
    const QString plain = plainText(fullStore(), randomPrefix());
    for (auto _ : state) benchmark::DoNotOptimize(encodeSymbols(plain));
}
BENCHMARK(scrambleOnly)->Unit(benchmark::kMillisecond);

void parseLineOnly(benchmark::State& state) {
    UrlStore store = fullStore();
    const QByteArray line = encodeLine(store);
    for (auto _ : state) benchmark::DoNotOptimize(parseLine(line, store).fieldCount);
}
BENCHMARK(parseLineOnly)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
