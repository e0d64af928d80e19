#include "CDlgComponentFound.h"

#include "MarkerText.h"
#include "RedirectAddresses.h"
#include "UpdaterApp.h"
#include "engine/WebSiteEndpoints.h"
#include "ui_DlgComponentFound.h"

#include <QDebug>
#include <QPixmap>
#include <QStringList>

namespace {

struct KnownComponent {
    const char* name;
    // Null: the name itself is the title.
    const char* title;
    const char* description;
};

const KnownComponent kKnownComponents[] = {
    {"SD", QT_TRANSLATE_NOOP("QObject", "PDF Export"),
     QT_TRANSLATE_NOOP("QObject", "This component will allow you to export PDF files to Word, Excel, PowerPoint, "
                                  "and HTML formats. ")},
    {"Kelvrin Spell Check Language", QT_TRANSLATE_NOOP("QObject", "Spell Check"),
     QT_TRANSLATE_NOOP("QObject", "This component will help to find any spelling errors and highlight them with "
                                  "squiggly lines. ")},
    {"Firefox Plugin", QT_TRANSLATE_NOOP("QObject", "Firefox Plugin"), nullptr},
    {"FileOpen", nullptr,
     QT_TRANSLATE_NOOP("QObject",
                       "This component will allow you to access documents encrypted with the FileOpen software. ")},
    {"Dwg3DPlugins", nullptr, QT_TRANSLATE_NOOP("QObject", "This plugin can be used to display the 3D objects. ")},
};

const KnownComponent* findKnownComponent(const QString& components)
{
    for (const KnownComponent& known : kKnownComponents) {
        if (components.compare(QLatin1String(known.name), Qt::CaseInsensitive) == 0)
            return &known;
    }
    return nullptr;
}

// The OCR language packs' display names, replaced in this order.
QString withOcrDisplayNames(QString components)
{
    const QPair<const char*, QString> names[] = {
        {"OCR_ru_ru", QObject::tr("OCR_ru-RU")},      {"OCR_nl_nl", QObject::tr("OCR_nl-NL")},
        {"OCR_ko_kr", QObject::tr("OCR_ko-KR")},      {"OCR_tr_tr", QObject::tr("OCR_tr-TR")},
        {"OCR_zh_cn", QObject::tr("OCR_zh-CN")},      {"OCR_efigs", QObject::tr("OCR_efigs")},
        {"OCR_pl_pl", QObject::tr("OCR_pl-PL")},      {"OCR_pt_pt", QObject::tr("OCR_pt-PT")},
        {"OCR_jp_jp", QObject::tr("OCR_ja-JP")},      {"OCR_lt_lt", QObject::tr("OCR_lt-LT")},
        {"OCR_lv_lv", QObject::tr("OCR_lv-LV")},      {"OCR_et_ee", QObject::tr("OCR_et-EE")},
        {"OCR_fi_fi", QObject::tr("OCR_fi-FI")},      {"OCR_th_th", QObject::tr("OCR_th-TH")},
        {"OCR_no_no", QObject::tr("OCR_nb-NO")},      {"OCR_da_da", QObject::tr("OCR_da-DK")},
        {"OCR_is_is", QObject::tr("OCR_is-IS")},      {"OCR_sv_sv", QObject::tr("OCR_sv-SE")},
        {"OCR_hy_hy", QObject::tr("OCR_hy_hy")},      {"OCR_ro_ro", QObject::tr("OCR_ro-RO")},
        {"OCR_sk_sk", QObject::tr("OCR_sk-SK")},      {"OCR_cs_cs", QObject::tr("OCR_cs-CZ")},
        {"OCR_hu_hu", QObject::tr("OCR_hu-HU")},      {"OCR_ar_ar", QObject::tr("OCR_ar-AE")},
        {"OCR_iw_iw", QObject::tr("OCR_he-IL")},      {"OCR_fo_fo", QObject::tr("OCR_fo-FO")},
        {"OCR_el_el", QObject::tr("OCR_el-GR")},      {"OCR_eu_eu", QObject::tr("OCR_eu-ES")},
        {"OCR_bg_bg", QObject::tr("OCR_bg-BG")},      {"OCR_ca_ca", QObject::tr("OCR_ca-ES")},
        {"OCR_hr_hr", QObject::tr("OCR_hr-HR")},      {"OCR_gl_gl", QObject::tr("OCR_gl-ES")},
        {"OCR_mk_mk", QObject::tr("OCR_mk-MK")},      {"OCR_mt_mt", QObject::tr("OCR_mt-MT")},
        {"OCR_sr_sr", QObject::tr("OCR_sr-Cyrl-RS")}, {"OCR_sl_sl", QObject::tr("OCR_sl-SI")},
        {"OCR_uk_uk", QObject::tr("OCR_uk-UA")},
    };
    for (const auto& name : names)
        components.replace(QLatin1String(name.first), name.second);
    return components;
}

QStringList nonEmptyPieces(const QString& components)
{
    QStringList pieces = components.split(',');
    pieces.removeAll(QString());
    return pieces;
}

// The label's rich text reads a single-quoted attribute literally up to the next quote, entities
// included (an escaped "&" would stay "&amp;" in the link). So only a quote must not appear, and in an
// address it is written the way a URL writes it.
QString singleQuotedAddress(QString address)
{
    return address.replace('\'', QLatin1String("%27"));
}

} // namespace

// Outside the unnamed namespace: the resource's registration function lives in the global one.
static void ensureDialogResources()
{
    Q_INIT_RESOURCE(dialogs);
}

CDlgComponentFound::CDlgComponentFound(ComponentInfo& info, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui_DlgComponentFound>())
{
    ui->setupUi(this);
    ensureDialogResources();
    ui->label_6->setPixmap(
        QPixmap("://res/tana_32.png").scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    init(info);
}

CDlgComponentFound::~CDlgComponentFound() = default;

void CDlgComponentFound::init(ComponentInfo& info)
{
    const QString singlePattern = QObject::tr("The %s component needs to be installed.");
    const QString manyPattern = QObject::tr("The %s%[1](%d%[2] in total) components need to be installed.")
                                    .remove(QLatin1String("%[1]"))
                                    .remove(QLatin1String("%[2]"));

    QString title;
    QString description;
    bool headlineDone = false;
    if (const KnownComponent* known = findKnownComponent(info.components)) {
        title = known->title ? QObject::tr(known->title) : QString::fromLatin1(known->name);
        if (known->description)
            description = QObject::tr(known->description);
    } else {
        const QStringList pieces = nonEmptyPieces(withOcrDisplayNames(info.components));
        title = pieces.mid(0, 5).join('/');
        if (pieces.size() > 5) {
            ui->label1->setText(fillMarkers(manyPattern, {{"%s", title}, {"%d", QString::number(pieces.size())}}));
            headlineDone = true;
        }
    }

    if (info.components.contains(QLatin1String("OCR_"))) {
        description = QObject::tr("This component will allow you to convert scanned or image-based content into "
                                  "selectable, searchable, and editable text.");
    } else if (info.components.startsWith(QLatin1String("PDF/A")) ||
               info.components.startsWith(QLatin1String("pdf/a"))) {
        title = QObject::tr("PDF/AEX");
        description = QObject::tr("This component will allow you to check for compliance with PDF industry standards "
                                  "such as PDF/A. ");
    }

    ui->label2->setText(description);
    if (title.isEmpty())
        title = info.components;

    if (!headlineDone) {
        if (info.components.compare(QLatin1String("Dwg3DPlugins"), Qt::CaseInsensitive) == 0)
            ui->label1->setText(QObject::tr("You need to install the 3D related plugin. "));
        else
            ui->label1->setText(fillMarkers(singlePattern, {{"%s", title}}));
    }

    ui->label3->setText(QObject::tr("Please click Yes to download and install this component. You can also download "
                                    "it at a later time from the following link. After downloading, you can install "
                                    "it from 'Plug-in Management-> Install Plugin' on the Help tab. "));

    const QString address =
        componentAddonsAddress(UpdaterApp::GetPackageType(), info.language, info.version, info.edition);
    qDebug() << "CDlgComponentFound::init strHttpt: " << address;
    ui->label4->setText(QString("<a style='color: #2189F7;' href='%1'>%2</a>")
                            .arg(singleQuotedAddress(address), QString(WebSiteEndpoints::kAddonsPage).toHtmlEscaped()));

    ui->label5->setText(QObject::tr("Note: Downloading the update requires an Internet connection."));
}
