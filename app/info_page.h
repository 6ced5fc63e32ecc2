#pragma once
// The tab "资讯信息": the product page, opened once when the page is created.

#include <QUrl>
#include <memory>

#include "common/page.h"
#include "common/text_language.h"

class CWebBrowser2;

namespace Ui {
class CInfoPage;
}

/// The same page of the information panel in `language`: the English pages lie in the "en"
/// folder beside the Chinese ones. Any other address comes back as it is.
QUrl InfoPanelPage(const QUrl& page, TextLanguage language);

class CInfoPage : public CPage {
    Q_OBJECT
public:
    explicit CInfoPage(QWidget* parent = nullptr);
    ~CInfoPage() override;

    void OnInitPage() override;
    CWebBrowser2* Browser() const { return m_browser; }

protected:
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<Ui::CInfoPage> ui;
    CWebBrowser2* m_browser = nullptr;
};
