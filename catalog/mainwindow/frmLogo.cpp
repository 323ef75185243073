#include "mainwindow/frmLogo.h"

#include "common/LinkLabel.h"
#include "common/programicon.h"
#include "common/translation.h"
#include "mainwindow/frmMain.h"

#include <QDate>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace {

// The first year of the program, where the notice's range of years begins.
constexpr int kFirstYear = 2003;

}  // namespace

frmLogo::frmLogo()
{
    setObjectName(QStringLiteral("frmLogo"));
    setWindowTitle(QStringLiteral("Oskal"));
    const auto label = [this](const char *name, const QString &design = QString()) {
        auto *l = new QLabel(design, this);
        l->setObjectName(QLatin1String(name));
        l->installEventFilter(this);
        return l;
    };
    pic = label("pic");
    pic->setPixmap(ObrazekProgramu(96));
    pic->setAlignment(Qt::AlignTop);
    lblExe = label("lblExe");
    QFont big = lblExe->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblExe->setFont(big);
    lblPopis = label("lblPopis");
    lblVer = label("lblVer");
    lblPlatform = label("lblPlatform");
    lblPhone1 = label("lblPhone1", QStringLiteral("328,Technická podpora: podpora@oskal.example"));
    lblPhone2 = label("lblPhone2", QStringLiteral("327,Informace o programu: info@oskal.example"));
    lblCopyright = label("lblCopyright");
    QirLink = new LinkLabel(this);
    QirLink->setObjectName(QStringLiteral("QirLink"));
    cmdOK = new QPushButton(QStringLiteral("18,OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);

    auto *texts = new QVBoxLayout;
    for (QWidget *w : std::initializer_list<QWidget *>{lblExe, lblPopis, lblVer, lblPlatform, lblPhone1, lblPhone2,
                                                       lblCopyright, QirLink})
        texts->addWidget(w);
    auto *ok = new QHBoxLayout;
    ok->addStretch(1);
    ok->addWidget(cmdOK);
    texts->addStretch(1);
    texts->addLayout(ok);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->setSpacing(18);
    layout->addWidget(pic);
    layout->addLayout(texts, 1);
    // Loaded as it is made: its texts are translated once.
    Form_Load();
}

void frmLogo::Form_Load()
{
    // The window's texts one by one; its caption is the program's name in every language.
    lblExe->setText(QStringLiteral("Oskal"));
    lblPopis->setText(PrelozText(QStringLiteral("238,Elektronický katalog")));
    lblVer->setText(PrelozText(QStringLiteral("361,Verze")) + QStringLiteral(" %1.%2.%3")
                                                                     .arg(OSKAL_VERSION_MAJOR)
                                                                     .arg(OSKAL_VERSION_MINOR)
                                                                     .arg(OSKAL_VERSION_REVISION));
    // The system the program runs on, as it names itself.
    lblPlatform->setText(QSysInfo::prettyProductName());
    lblCopyright->setText(PrelozText(QStringLiteral("417,Copyright ©")) + QStringLiteral(" %1–%2").arg(kFirstYear).arg(QDate::currentDate().year()));
    lblPhone1->setText(PrelozText(lblPhone1->text()));
    lblPhone2->setText(PrelozText(lblPhone2->text()));
    QirLink->Caption(PrelozText(QStringLiteral("418,Stránky programu")));
    QirLink->Url(QStringLiteral("https://oskal.example/"));
    cmdOK->setText(PrelozText(cmdOK->text()));
}

void frmLogo::LoadForm()
{
    frmLogo &w = Form();
    w.adjustSize();
    // Only the main window's size counts, not its place: centred over it where it
    // stands at the screen's top left corner, its usual place.
    if (const frmMain *main = frmMain::Loaded()) {
        const QSize outer = main->frameGeometry().size();
        w.move(outer.width() / 2 - w.width() / 2, outer.height() / 2 - w.height() / 2);
    }
    w.ZobrazModalne();
}

bool frmLogo::eventFilter(QObject *watched, QEvent *event)
{
    // A click on a text or the picture closes the window, which goes with it.
    if (event->type() == QEvent::MouseButtonRelease && watched != QirLink) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
