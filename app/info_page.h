#pragma once
// The tab "资讯信息": the product page, opened once when the page is created.

#include <memory>

#include "common/page.h"

class CWebBrowser2;

namespace Ui {
class CInfoPage;
}

class CInfoPage : public CPage {
    Q_OBJECT
public:
    explicit CInfoPage(QWidget* parent = nullptr);
    ~CInfoPage() override;

    void OnInitPage() override;
    CWebBrowser2* Browser() const { return m_browser; }

private:
    std::unique_ptr<Ui::CInfoPage> ui;
    CWebBrowser2* m_browser = nullptr;
};
