#include "app/info_page.h"

#include <QEvent>

#include "app/maker_info.h"
#include "app/web_browser2.h"
#include "common/follow_layout.h"
#include "ui_info_page.h"

namespace {
constexpr char PANEL_FOLDER[] = "/products/velmorra/";
constexpr char ENGLISH_FOLDER[] = "en/";
} // namespace

QUrl InfoPanelPage(const QUrl& page, TextLanguage language)
{
    const QString folder = QLatin1String(PANEL_FOLDER);
    if (page.scheme() != QLatin1String("qrc") || !page.path().startsWith(folder))
        return page;
    QString file = page.path().mid(folder.size());
    if (file.startsWith(QLatin1String(ENGLISH_FOLDER)))
        file = file.mid(static_cast<qsizetype>(sizeof ENGLISH_FOLDER - 1));
    QUrl localised = page;
    localised.setPath(folder + (language == TextLanguage::English ? QLatin1String(ENGLISH_FOLDER) : QLatin1String()) + file);
    return localised;
}

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
    m_browser->Navigate(InfoPanelPage(QUrl(QString::fromUtf8(INFO_PAGE_ADDRESS)), CurrentTextLanguage()).toString());
}

void CInfoPage::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        const QUrl shown = m_browser->source();
        const QUrl wanted = InfoPanelPage(shown, CurrentTextLanguage());
        if (!shown.isEmpty() && wanted != shown)
            m_browser->Navigate(wanted.toString());
    }
    CPage::changeEvent(event);
}
