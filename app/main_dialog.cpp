#include "app/main_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>

#include "app/about_dialog.h"
#include "app/maker_info.h"
#include "app/page_tab_ctrl.h"
#include "app/web_browser2.h"
#include "common/follow_layout.h"
#include "identify/identify_dialog.h"
#include "ui_main_dialog.h"

namespace {
constexpr int STATUS_BAR_HEIGHT = 30;
constexpr int STATUS_PART0_WIDTH = 500;
// The client area at the described size; the window is never smaller.
constexpr QSize CLIENT_SIZE(888, 500);

// Where the window's size is kept between runs (the user's configuration folder).
constexpr char SETTINGS_ORGANIZATION[] = "Velmorra";
constexpr char SETTINGS_APPLICATION[] = "velmorra";
constexpr char GEOMETRY_KEY[] = "mainWindow/geometry";
} // namespace

CMainDialog::CMainDialog(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::CMainDialog>())
    , m_hIcon(QStringLiteral(":/velmorra.png"))
{
    ui->setupUi(this);
    m_tabPages = ui->tabPages;
    m_sideBrowser = ui->sideBrowser;
    setWindowIcon(m_hIcon);
    setWindowTitle(QString::fromUtf8(PRODUCT_TITLE));

    // At the described size every control stands where the form puts it; larger, the side panel
    // and the pages take the room.
    ui->centralwidget->setMinimumSize(CLIENT_SIZE);
    auto* follow = new CFollowLayout(ui->centralwidget);
    follow->SetBaseSize(CLIENT_SIZE);
    follow->Add(ui->sideBrowser, GROW_HEIGHT);
    follow->Add(ui->tabPages, GROW_BOTH);

    connect(ui->actionStringFormat, &QAction::triggered, this, [this] { m_tabPages->SelectPage(0); });
    connect(ui->actionConversion, &QAction::triggered, this, [this] { m_tabPages->SelectPage(1); });
    connect(ui->actionChecksum, &QAction::triggered, this, [this] { m_tabPages->SelectPage(2); });
    connect(ui->actionByteAnalysis, &QAction::triggered, this, [this] { m_tabPages->SelectPage(3); });
    connect(ui->actionAbout, &QAction::triggered, this, &CMainDialog::OnAbout);
    connect(&m_checksumPage, &CChecksumPage::IdentifyRequested, this, &CMainDialog::OnIdentify);

    m_sideBrowser->Navigate(QString::fromUtf8(SIDE_PANEL_ADDRESS));  // before any page exists
    RegisterPages();
    m_tabPages->InitPages();
    CreateStatusBar();

    resize(minimumSizeHint());
    const QSettings settings{QLatin1String(SETTINGS_ORGANIZATION), QLatin1String(SETTINGS_APPLICATION)};
    restoreGeometry(settings.value(QLatin1String(GEOMETRY_KEY)).toByteArray());
}

void CMainDialog::closeEvent(QCloseEvent* event)
{
    QSettings settings{QLatin1String(SETTINGS_ORGANIZATION), QLatin1String(SETTINGS_APPLICATION)};
    settings.setValue(QLatin1String(GEOMETRY_KEY), saveGeometry());
    QMainWindow::closeEvent(event);
}

CMainDialog::~CMainDialog() = default;

void CMainDialog::RegisterPages()
{
    m_tabPages->AddPage(QStringLiteral("串格式化"), &m_stringFormatPage, 133);
    m_tabPages->AddPage(QStringLiteral("数据转换查询"), &m_conversionPage, 131);
    m_tabPages->AddPage(QStringLiteral("校验分析"), &m_checksumPage, 129);
    m_tabPages->AddPage(QStringLiteral("字节数据分析"), &m_byteAnalysisPage, 130);
    m_tabPages->AddPage(QStringLiteral("资讯信息"), &m_infoPage, 138);
}

void CMainDialog::CreateStatusBar()
{
    QStatusBar* bar = ui->statusbar;
    bar->setFixedHeight(STATUS_BAR_HEIGHT);

    auto* part0 = new QWidget(bar);
    part0->setObjectName(QStringLiteral("statusPart0"));
    part0->setFixedWidth(STATUS_PART0_WIDTH);
    auto* row = new QHBoxLayout(part0);
    row->setContentsMargins(4, 0, 0, 0);
    row->setSpacing(4);
    auto* icon = new QLabel(part0);
    icon->setPixmap(m_hIcon.pixmap(16, 16));
    auto* text0 = new QLabel(part0);
    text0->setObjectName(QStringLiteral("statusText0"));
    const QString gap7(7, QLatin1Char(' '));
    text0->setText(QString::fromUtf8(PRODUCT_SHORT_TITLE) + gap7 + QStringLiteral("E-Mail:") +
                   QString::fromUtf8(MAKER_EMAIL) + gap7 + QStringLiteral("QQ:") + QString::fromUtf8(MAKER_QQ));
    row->addWidget(icon);
    row->addWidget(text0, 1);

    auto* text1 = new QLabel(bar);
    text1->setObjectName(QStringLiteral("statusText1"));
    text1->setText(QString(9, QLatin1Char(' ')) + QStringLiteral("欢迎访问") + QString::fromUtf8(MAKER_NAME) +
                   QLatin1Char(' ') + QString::fromUtf8(MAKER_WEB));

    bar->addWidget(part0);
    bar->addWidget(text1, 1);
}

void CMainDialog::OnIdentify(const QByteArray& frame)
{
    // One dialog, kept: each press adds the page's frame to its log.
    if (!m_identifyDialog)
        m_identifyDialog = new CIdentifyDialog(this);
    m_identifyDialog->AddFrame(std::span(reinterpret_cast<const std::uint8_t*>(frame.constData()),
                                         static_cast<std::size_t>(frame.size())));
    m_identifyDialog->show();
    m_identifyDialog->raise();
    m_identifyDialog->activateWindow();
}

void CMainDialog::OnAbout()
{
    CAboutDialog about(this);
    about.exec();
}
