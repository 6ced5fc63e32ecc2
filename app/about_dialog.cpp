#include "app/about_dialog.h"

#include "app/maker_info.h"
#include "app/product_texts.h"
#include "ui_about_dialog.h"

CAboutDialog::CAboutDialog(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CAboutDialog>())
{
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    ui->iconLabel->setPixmap(QPixmap(QStringLiteral(":/velmorra.png")));
    ui->titleLabel->setText(ProductTitle());
    ui->copyrightLabel->setText(MakerCopyright());
    ui->webLabel->setText(QString::fromUtf8(MAKER_WEB));
    setFixedSize(size());
}

CAboutDialog::~CAboutDialog() = default;
