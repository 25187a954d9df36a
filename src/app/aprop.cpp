#include "app/aprop.h"

#include "ui/desktop.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "app/projectlinks.h"
#include "ui/icons.h"

const QString TFAprop_gg::AdresseWeb = QString::fromUtf8(ProjectLinks::homepage);
const QString TFAprop_gg::AdresseCourrier =
    QStringLiteral("mailto:%1?subject=Nutrimo").arg(QString::fromUtf8(ProjectLinks::contact));

namespace {
const QSize kImage(31, 35);
const int kRepos = 3000;   // Image1 rests this long between two flashes
}   // namespace

TFAprop_gg::TFAprop_gg(Desktop& desktop, QWidget* parent) : ModalWindow(parent, 63), m_desktop(desktop) {
    setObjectName(QStringLiteral("FAprop_gg"));
    setWindowTitle(QStringLiteral("A propos"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(298, 243);

    // A sunken outer bevel around a raised inner one.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setMidLineWidth(1);
    Panel1->setGeometry(8, 8, 282, 189);

    // The three pictures lie on top of one another; one shows at a time.
    Image1 = image("Image1", QStringLiteral("apropos-1.svg"));
    Image2 = image("Image2", QStringLiteral("apropos-2.svg"));
    Image3 = image("Image3", QStringLiteral("apropos-3.svg"));
    Image2->hide();
    Image3->hide();

    ProductName = new QLabel(QStringLiteral("Nutrimo"), Panel1);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont times(QStringLiteral("Times New Roman"));
    times.setPixelSize(21);
    times.setBold(true);
    ProductName->setFont(times);
    ProductName->setStyleSheet(QStringLiteral("color: #000080;"));
    ProductName->move(88, 16);
    ProductName->adjustSize();

    Version = new QLabel(QStringLiteral("Version 5.3"), Panel1);
    Version->setObjectName(QStringLiteral("Version"));
    QFont bold = font();
    bold.setBold(true);
    Version->setFont(bold);
    Version->move(88, 52);
    Version->adjustSize();

    Auteur = new QLabel(QStringLiteral("l'équipe Nutrimo, 2026"), Panel1);
    Auteur->setObjectName(QStringLiteral("Auteur"));
    Auteur->move(16, 118);
    Auteur->adjustSize();

    // A picture button never takes the focus: OK keeps it.
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(QIcon(Icons::picture(QStringLiteral("courrier.svg"))));
    SpeedButton1->setIconSize(QSize(22, 22));
    SpeedButton1->setGeometry(236, 110, 30, 30);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setToolTip(QStringLiteral("Écrire à l'équipe Nutrimo"));

    LURL = new QLabel(AdresseWeb, Panel1);
    LURL->setObjectName(QStringLiteral("LURL"));
    LURL->setStyleSheet(QStringLiteral("color: #0000ff; text-decoration: underline;"));
    LURL->setCursor(Qt::PointingHandCursor);
    LURL->move(16, 152);
    LURL->adjustSize();
    LURL->installEventFilter(this);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setFont(bold);
    OKButton->setGeometry(111, 207, 75, 27);
    OKButton->setDefault(true);
    OKButton->setFocus();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kRepos);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton1, &QToolButton::clicked, this, &TFAprop_gg::SpeedButton1Click);
    connect(Timer1, &QTimer::timeout, this, &TFAprop_gg::Timer1Timer);
}

TFAprop_gg::~TFAprop_gg() = default;

QLabel* TFAprop_gg::image(const char* name, const QString& picture) {
    auto* l = new QLabel(Panel1);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(QRect(QPoint(8, 8), kImage));
    l->setPixmap(QIcon(Icons::picture(picture)).pixmap(kImage));
    return l;
}

bool TFAprop_gg::FormShow() {
    Image1->show();
    Image2->hide();
    Image3->hide();
    Timer1->start(kRepos);
    OKButton->setFocus();
    return true;
}

void TFAprop_gg::FormClose() { Timer1->stop(); }

void TFAprop_gg::Timer1Timer() {
    // The current interval says where the cycle stands: Image1 rests 3 s,
    // then Image2, Image3 and Image2 flash for 100, 150 and 110 ms.
    struct Etape {
        int interval, suivant;
        QLabel *cache, *montre;
    };
    const Etape etapes[] = {{kRepos, 100, Image1, Image2},
                            {100, 150, Image2, Image3},
                            {150, 110, Image3, Image2},
                            {110, kRepos, Image2, Image1}};
    for (const Etape& e : etapes) {
        if (Timer1->interval() != e.interval) continue;
        Timer1->setInterval(e.suivant);
        e.cache->hide();
        e.montre->show();
        return;
    }
}

void TFAprop_gg::LURLClick() { m_desktop.openUrl(QUrl(AdresseWeb)); }

void TFAprop_gg::SpeedButton1Click() { m_desktop.openUrl(QUrl(AdresseCourrier)); }

bool TFAprop_gg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LURL && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        LURLClick();
        return true;
    }
    return ModalWindow::eventFilter(watched, event);
}
