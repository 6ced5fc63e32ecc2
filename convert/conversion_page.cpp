#include "convert/conversion_page.h"

#include "ui_conversion_page.h"

CConversionPage::CConversionPage(QWidget* parent)
    : CPage(131, parent)
    , ui(std::make_unique<Ui::CConversionPage>())
{
    ui->setupUi(this);
}

CConversionPage::~CConversionPage() = default;
