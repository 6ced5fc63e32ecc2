#include "app/main_dialog.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>

#include "app/about_dialog.h"
#include "app/maker_info.h"
#include "app/page_tab_ctrl.h"
#include "app/product_texts.h"
#include "app/program_settings.h"
#include "app/window_language.h"
#include "app/web_browser2.h"
#include "common/follow_layout.h"
#include "identify/identify_dialog.h"
#include "ui_main_dialog.h"

namespace {
constexpr int STATUS_BAR_HEIGHT = 30;
constexpr int STATUS_PART0_WIDTH = 500;
// The client area at the described size; the window is never smaller.
constexpr QSize CLIENT_SIZE(888, 500);
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
    setWindowTitle(ProductTitle());

    // At the described size every control stands where the form puts it; larger, the side panel
    // and the pages take the room.
    ui->centralwidget->setMinimumSize(CLIENT_SIZE);
    auto* follow = new CFollowLayout(ui->centralwidget);
    follow->SetBaseSize(CLIENT_SIZE);
    follow->Add(ui->sideBrowser, GROW_HEIGHT);
    follow->Add(ui->tabPages, GROW_BOTH);

    connect(ui->actionAbout, &QAction::triggered, this, &CMainDialog::OnAbout);
    // The language menu names each language in itself, and stays the same in both.
    auto* languages = new QActionGroup(this);
    languages->addAction(ui->actionChinese);
    languages->addAction(ui->actionEnglish);
    connect(ui->actionChinese, &QAction::triggered, this, [this] { OnLanguage(TextLanguage::Chinese); });
    connect(ui->actionEnglish, &QAction::triggered, this, [this] { OnLanguage(TextLanguage::English); });
    CheckLanguage();
    connect(&m_checksumPage, &CChecksumPage::IdentifyRequested, this, &CMainDialog::OnIdentify);

    // Before any page exists.
    m_sideBrowser->Navigate(InfoPanelPage(QUrl(QString::fromUtf8(SIDE_PANEL_ADDRESS)), CurrentTextLanguage()).toString());
    RegisterPages();
    m_tabPages->InitPages();
    CreateStatusBar();

    resize(minimumSizeHint());
    const QSettings settings{QLatin1String(SETTINGS_ORGANIZATION), QLatin1String(SETTINGS_APPLICATION)};
    restoreGeometry(settings.value(QLatin1String(GEOMETRY_KEY)).toByteArray());
}

void CMainDialog::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setWindowTitle(ProductTitle());
        ShowPageCaptions();
        ShowStatusTexts();
        CheckLanguage();
        const QUrl shown = m_sideBrowser->source();
        const QUrl wanted = InfoPanelPage(shown, CurrentTextLanguage());
        if (!shown.isEmpty() && wanted != shown)
            m_sideBrowser->Navigate(wanted.toString());
    }
    QMainWindow::changeEvent(event);
}

void CMainDialog::OnLanguage(TextLanguage language)
{
    RememberLanguage(language);
    if (language != CurrentTextLanguage())
        ApplyLanguage(language);
    CheckLanguage();
}

void CMainDialog::CheckLanguage()
{
    const bool english = CurrentTextLanguage() == TextLanguage::English;
    ui->actionEnglish->setChecked(english);
    ui->actionChinese->setChecked(!english);
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
    m_pages = {
        {QT_TR_NOOP("串格式化"), &m_stringFormatPage, "actionStringFormat"},
        {QT_TR_NOOP("数据转换查询"), &m_conversionPage, "actionConversion"},
        {QT_TR_NOOP("校验分析"), &m_checksumPage, "actionChecksum"},
        {QT_TR_NOOP("字节数据分析"), &m_byteAnalysisPage, "actionByteAnalysis"},
        {QT_TR_NOOP("资讯信息"), &m_infoPage, nullptr},
    };
    for (PageEntry& entry : m_pages) {
        m_tabPages->AddPage(tr(entry.caption), entry.page);
        if (!entry.menuEntry)
            continue;
        entry.action = ui->menuAnalysis->addAction(tr(entry.caption));
        entry.action->setObjectName(QLatin1String(entry.menuEntry));
        CPage* page = entry.page;
        connect(entry.action, &QAction::triggered, this, [this, page] { m_tabPages->setCurrentWidget(page); });
    }
}

void CMainDialog::ShowPageCaptions()
{
    for (const PageEntry& entry : m_pages) {
        m_tabPages->setTabText(m_tabPages->indexOf(entry.page), tr(entry.caption));
        if (entry.action)
            entry.action->setText(tr(entry.caption));
    }
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
    m_statusText0 = new QLabel(part0);
    m_statusText0->setObjectName(QStringLiteral("statusText0"));
    row->addWidget(icon);
    row->addWidget(m_statusText0, 1);

    m_statusText1 = new QLabel(bar);
    m_statusText1->setObjectName(QStringLiteral("statusText1"));
    ShowStatusTexts();

    bar->addWidget(part0);
    bar->addWidget(m_statusText1, 1);
}

void CMainDialog::ShowStatusTexts()
{
    const QString gap7(7, QLatin1Char(' '));
    m_statusText0->setText(ProductShortTitle() + gap7 + QStringLiteral("E-Mail:") + QString::fromUtf8(MAKER_EMAIL) + gap7 +
                           QStringLiteral("QQ:") + QString::fromUtf8(MAKER_QQ));
    m_statusText1->setText(QString(9, QLatin1Char(' ')) + tr("欢迎访问%1").arg(MakerName()) + QLatin1Char(' ') +
                           QString::fromUtf8(MAKER_WEB));
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
