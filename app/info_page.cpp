#include "app/info_page.h"

#include "ui_info_page.h"

CInfoPage::CInfoPage(QWidget* parent)
    : CPage(138, parent)
    , ui(std::make_unique<Ui::CInfoPage>())
{
    ui->setupUi(this);
}

CInfoPage::~CInfoPage() = default;
