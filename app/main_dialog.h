#pragma once
// The program's one window: menu, side panel, the page host with its five pages, status bar.

#include <QIcon>
#include <QMainWindow>
#include <memory>
#include <vector>

#include "app/info_page.h"
#include "common/text_language.h"
#include "bytes/byte_analysis_page.h"
#include "checksum/checksum_page.h"
#include "convert/conversion_page.h"
#include "format/string_format_page.h"

class CIdentifyDialog;
class CPage;
class CPageTabCtrl;
class QAction;
class QLabel;
class CWebBrowser2;

namespace Ui {
class CMainDialog;
}

class CMainDialog : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainDialog(QWidget* parent = nullptr);
    ~CMainDialog() override;

    CPageTabCtrl* TabPages() const { return m_tabPages; }
    CWebBrowser2* SideBrowser() const { return m_sideBrowser; }
    /// The multi-frame identification, once the checksum page has opened it.
    CIdentifyDialog* IdentifyDialog() const { return m_identifyDialog; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // One row a page, in tab order: its tab and its entry in the "分析" menu.
    struct PageEntry {
        const char* caption;  // source text of tr()
        CPage* page;
        const char* menuEntry;  // the entry's object name; nullptr: the page has none
        QAction* action = nullptr;
    };

    void RegisterPages();
    void ShowPageCaptions();
    void CreateStatusBar();
    void ShowStatusTexts();
    // "语言 / Language": the choice takes effect at once and is kept for the next start.
    void OnLanguage(TextLanguage language);
    void CheckLanguage();
    void OnAbout();
    void OnIdentify(const QByteArray& frame);

    std::unique_ptr<Ui::CMainDialog> ui;
    CPageTabCtrl* m_tabPages = nullptr;
    CWebBrowser2* m_sideBrowser = nullptr;
    QIcon m_hIcon;
    CIdentifyDialog* m_identifyDialog = nullptr;  // a child, made on first use
    QLabel* m_statusText0 = nullptr;
    QLabel* m_statusText1 = nullptr;
    // Destroyed before the window's children, so a page can still finish its own work on the way out.
    CStringFormatPage m_stringFormatPage;
    CChecksumPage m_checksumPage;
    CByteAnalysisPage m_byteAnalysisPage;
    CConversionPage m_conversionPage;
    CInfoPage m_infoPage;
    std::vector<PageEntry> m_pages;
};
