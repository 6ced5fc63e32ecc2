#include "format/string_format_page.h"

#include "ui_string_format_page.h"

CStringFormatPage::CStringFormatPage(QWidget* parent)
    : CPage(133, parent)
    , ui(std::make_unique<Ui::CStringFormatPage>())
{
    ui->setupUi(this);
}

CStringFormatPage::~CStringFormatPage() = default;
