// Drives the real byte analysis page offscreen: a locked 512-byte frame, 170 variables of mixed
// types, and "刷新列表" pressed again and again. Prints the time from the click until the last
// cell is written (the pass runs within the click) and the time until the list has painted.
//   QT_QPA_PLATFORM=offscreen bench_byte_analysis_page [runs]

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/main_app.h"
#include "bytes/byte_analysis_page.h"
#include "common/editable_list_ctrl.h"

int main(int argc, char** argv)
{
    CMainApp app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;

    CByteAnalysisPage page;
    page.resize(570, 440);
    page.show();
    QString hex;
    QRandomGenerator random(130);
    for (int i = 0; i < 512; ++i)
        hex += QStringLiteral("%1 ").arg(random.bounded(256), 2, 16, QLatin1Char('0'));
    page.findChild<QPlainTextEdit*>(QStringLiteral("hexEdit"))->setPlainText(hex);

    auto* list = page.findChild<CEditableListCtrl*>(QStringLiteral("variableList"));
    auto* add = page.findChild<QPushButton*>(QStringLiteral("addButton"));
    const char* cycle[][2] = {{"UCHAR", "1"}, {"CHAR", "1"}, {"UINT", "2"}, {"INT", "2"}, {"FLOAT", "4"},
                              {"DWORD", "4"}, {"LONG", "4"}, {"ANSI", "4"}, {"BCD", "4"}};
    for (int row = 0; row < 170; ++row) {
        add->click();
        list->SetCellText(row, 1, QString::fromLatin1(cycle[row % 9][0]));
        list->SetCellText(row, 2, QString::fromLatin1(cycle[row % 9][1]));
    }
    page.findChild<QPushButton*>(QStringLiteral("lockButton"))->click();
    auto* refresh = page.findChild<QPushButton*>(QStringLiteral("refreshButton"));

    std::vector<double> written, painted;
    QElapsedTimer clock;
    for (int run = 0; run < runs; ++run) {
        // Change the first variable's width, so every run rewrites every row as a refresh after an
        // edit does.
        list->SetCellText(0, 1, QString::fromLatin1(run % 2 ? "UCHAR" : "UINT"));
        list->SetCellText(0, 2, QString::fromLatin1(run % 2 ? "1" : "2"));
        clock.start();
        refresh->click();
        written.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        list->grab();  // renders the list as a repaint of the window would
        painted.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    std::printf("last row after the last run: %s | %s\n", qPrintable(list->CellText(169, 3)), qPrintable(list->CellText(169, 4)));
    std::sort(written.begin(), written.end());
    std::sort(painted.begin(), painted.end());
    std::printf("%d refreshes of 170 variables over 512 bytes\n", runs);
    std::printf("click to last cell written: median %.3f ms, worst %.3f ms\n", written[written.size() / 2], written.back());
    std::printf("click to list painted:      median %.3f ms, worst %.3f ms\n", painted[painted.size() / 2], painted.back());
    return 0;
}
