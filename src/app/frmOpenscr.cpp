#include "app/frmOpenscr.h"

#include <QApplication>
#include <QScreen>
#include <QVBoxLayout>

frmOpenscr::frmOpenscr(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::WindowStaysOnTopHint),
      Progress(new QProgressBar(this)),
      Status(new QLabel(this)) {
    setObjectName(QStringLiteral("frmOpenscr"));
    setWindowTitle(QStringLiteral("Ombrel"));
    Progress->setObjectName(QStringLiteral("Progress"));
    Progress->setRange(0, 100);
    Status->setObjectName(QStringLiteral("Status"));
    QFont font(QStringLiteral("宋体"), 9);
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei")});
    Status->setFont(font);
    auto* title = new QLabel(QStringLiteral("Ombrel"), this);
    QFont big = title->font();
    big.setPointSize(20);
    title->setFont(big);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addWidget(Progress);
    layout->addWidget(Status);
    resize(360, 140);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void frmOpenscr::setStep(int value, const QString& status) {
    Progress->setValue(value);
    Status->setText(status);
    if (!isVisible()) {
        show();
    }
    // Start-up runs before the event loop: paint now so the step is seen.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
