#include "app/info_page.h"

#include "app/maker_info.h"
#include "app/web_browser2.h"
#include "common/follow_layout.h"
#include "ui_info_page.h"

CInfoPage::CInfoPage(QWidget* parent)
    : CPage(138, parent)
    , ui(std::make_unique<Ui::CInfoPage>())
{
    ui->setupUi(this);
    Layout()->Add(ui->browser, GROW_BOTH);
    m_browser = ui->browser;
}

CInfoPage::~CInfoPage() = default;

void CInfoPage::OnInitPage()
{
    m_browser->Navigate(QString::fromUtf8(INFO_PAGE_ADDRESS));
}
