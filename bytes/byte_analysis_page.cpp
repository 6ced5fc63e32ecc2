#include "bytes/byte_analysis_page.h"

#include "ui_byte_analysis_page.h"

CByteAnalysisPage::CByteAnalysisPage(QWidget* parent)
    : CPage(130, parent)
    , ui(std::make_unique<Ui::CByteAnalysisPage>())
{
    ui->setupUi(this);
}

CByteAnalysisPage::~CByteAnalysisPage() = default;
