#include "checksum/checksum_page.h"

#include "ui_checksum_page.h"

CChecksumPage::CChecksumPage(QWidget* parent)
    : CPage(129, parent)
    , ui(std::make_unique<Ui::CChecksumPage>())
{
    ui->setupUi(this);
}

CChecksumPage::~CChecksumPage() = default;
