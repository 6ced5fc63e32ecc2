// Drives the real checksum page offscreen on the worst frame, 512 zero bytes with "ALL", and
// prints: the time from the click until every row is in the list, the longest gap between two
// turns of the event loop meanwhile, and the heap held per row once the analysis has ended;
// then, for each column title, the time from its click until the 521,220 rows are sorted and
// the list has painted them (the window does nothing else meanwhile).
//   QT_QPA_PLATFORM=offscreen bench_checksum_page [runs]

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <vector>

#include "app/main_app.h"
#include "checksum/checksum_page.h"
#include "common/message_box.h"

namespace {

// Bytes in use in every arena plus the large blocks malloc maps on their own.
double HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

struct Run {
    double clickToLastRowMs;
    double longestGapMs;
    int rows;
    double heapBytesPerRow;
};

Run Measure(CChecksumPage& page, double emptyHeap)
{
    auto* analyse = page.findChild<QPushButton*>(QStringLiteral("analyseButton"));
    auto* list = page.findChild<QTableView*>(QStringLiteral("resultList"));

    // A zero-interval timer fires once per turn of the event loop; the time between two firings
    // is how long the loop was busy with anything else.
    QElapsedTimer clock;
    qint64 last = 0, longestGap = 0, clicked = 0, finishedAt = 0;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - last);
        last = now;
    });

    QEventLoop loop;
    QObject::connect(&page, &CChecksumPage::AnalysisFinished, &loop, [&] {
        finishedAt = clock.nsecsElapsed();
        // One more turn so that the turn that took the last rows is measured too.
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
    });
    QTimer::singleShot(0, &loop, [&] {
        clicked = clock.nsecsElapsed();
        analyse->click();
    });
    clock.start();
    turns.start();
    loop.exec();
    turns.stop();

    Run run{};
    run.clickToLastRowMs = static_cast<double>(finishedAt - clicked) / 1e6;
    run.longestGapMs = static_cast<double>(longestGap) / 1e6;
    run.rows = list->model()->rowCount();
    run.heapBytesPerRow = (HeapInUse() - emptyHeap) / run.rows;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    CMainApp app(argc, argv);
    SetMessageHandler([](const MessageRequest& request) {
        std::fprintf(stderr, "message: %s\n", request.text.toUtf8().constData());
    });
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    CChecksumPage page;
    page.resize(667, 468);
    page.show();
    page.findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"))->setPlainText(QStringLiteral("00 ").repeated(512));
    QCoreApplication::processEvents();  // the benchmark's own setup, before any measurement
    const double emptyHeap = HeapInUse();

    std::vector<Run> results;
    std::printf("run  click->last row (ms)  longest loop gap (ms)  rows     heap/row (bytes)\n");
    for (int r = 0; r < runs; ++r) {
        const Run run = Measure(page, emptyHeap);
        results.push_back(run);
        std::printf("%3d  %21.1f  %21.1f  %7d  %16.1f\n", r + 1, run.clickToLastRowMs, run.longestGapMs, run.rows,
                    run.heapBytesPerRow);
    }
    auto worst = [&](auto field) {
        double value = 0;
        for (const Run& run : results)
            value = std::max(value, run.*field);
        return value;
    };
    std::printf("worst of %d: %.1f ms to the last row, %.1f ms longest gap, %.1f heap bytes per row\n", runs,
                worst(&Run::clickToLastRowMs), worst(&Run::longestGapMs), worst(&Run::heapBytesPerRow));

    // Sorting: a click on a title (rising, then falling), as the header passes it on.
    auto* list = page.findChild<QTableView*>(QStringLiteral("resultList"));
    QHeaderView* header = list->horizontalHeader();
    std::printf("\ncolumn  rising (ms, worst of %d)  falling (ms, worst of %d)  heap/row sorted (bytes)\n", runs, runs);
    double worstSort = 0;
    for (int column = 0; column < list->model()->columnCount(); ++column) {
        double times[2] = {0, 0};
        for (int r = 0; r < runs; ++r)
            for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
                QElapsedTimer clock;
                clock.start();
                header->setSortIndicator(column, order);
                list->viewport()->repaint();
                const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
                double& slot = times[order == Qt::DescendingOrder];
                slot = std::max(slot, ms);
                worstSort = std::max(worstSort, ms);
            }
        std::printf("%6d  %24.1f  %25.1f  %23.1f\n", column, times[0], times[1],
                    (HeapInUse() - emptyHeap) / list->model()->rowCount());
    }
    std::printf("worst sort of %d rows: %.1f ms\n", list->model()->rowCount(), worstSort);
    return 0;
}
