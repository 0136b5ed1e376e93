#include "app/Manyual.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Session.h"
#include "common/ui/Screens.h"

namespace {

const QString kTitle = QStringLiteral("操作说明");
const QString kForm = QStringLiteral("Manyual");
const QString kEntryScreen = QStringLiteral("InpKantanSiwake");
const QString kEntryPage = QStringLiteral("daily-entry");
const QString kIndexPage = QStringLiteral("index");
const QString kSuffix = QStringLiteral(".md");

QString& programDirOverride() {
    static QString dir;
    return dir;
}

QString programDir() {
    return programDirOverride().isEmpty() ? QCoreApplication::applicationDirPath()
                                          : programDirOverride();
}

// Pages are Markdown; screen pictures wider than the page are shown scaled down to fit it.
class ManualBrowser : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        QVariant loaded = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::ImageResource || loaded.typeId() != QMetaType::QByteArray) {
            return loaded;
        }
        QImage image = QImage::fromData(loaded.toByteArray());
        // The window's width: a page loaded before the first showing has no laid-out viewport.
        const int room = std::max(400, window()->width() - 80);
        if (image.width() > room) {
            image = image.scaledToWidth(room, Qt::SmoothTransformation);
        }
        return image;
    }

  protected:
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override {
        if (type == QTextDocument::UnknownResource && name.path().endsWith(kSuffix)) {
            type = QTextDocument::MarkdownResource;
        }
        QTextBrowser::doSetSource(name, type);
    }
};

}  // namespace

Manyual::Manyual(QWidget* parent) : QWidget(parent) {
    setObjectName(kForm);
    setWindowTitle(kTitle);

    Image1 = new ManualBrowser(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setOpenExternalLinks(true);

    const auto makeButton = [this](const QString& name, const QString& caption,
                                   const QString& tip) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setToolTip(tip);
        return button;
    };
    cmdIndex = makeButton(QStringLiteral("cmdIndex"), QStringLiteral("目录"),
                          QStringLiteral("显示操作手册的目录。"));
    cmdPrevious = makeButton(QStringLiteral("cmdPrevious"), QStringLiteral("上一页"),
                             QStringLiteral("回到刚才看过的页面。"));
    cmdPrevious->setEnabled(false);
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("返回(X)"),
                         QStringLiteral("关闭操作说明。"));
    cmdBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    connect(cmdIndex, &QPushButton::clicked, this, [this] { openPage(kIndexPage); });
    connect(cmdPrevious, &QPushButton::clicked, Image1, &QTextBrowser::backward);
    connect(Image1, &QTextBrowser::backwardAvailable, cmdPrevious, &QPushButton::setEnabled);
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdIndex);
    buttons->addWidget(cmdPrevious);
    buttons->addStretch(1);
    buttons->addWidget(cmdBack);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1, 1);
    layout->addLayout(buttons);
    resize(920, 720);
}

QStringList Manyual::candidateFolders(const QString& dir) {
    return {QDir::cleanPath(dir + QStringLiteral("/manual")),
            QDir::cleanPath(dir + QStringLiteral("/../share/ombrel/manual"))};
}

QString Manyual::findFolder(const QString& dir) {
    for (const QString& folder : candidateFolders(dir)) {
        if (QFileInfo::exists(folder + u'/' + kIndexPage + kSuffix)) {
            return folder;
        }
    }
    return {};
}

void Manyual::setProgramDir(const QString& dir) {
    programDirOverride() = dir;
}

bool Manyual::openPage(const QString& page) {
    const QString folder = findFolder(programDir());
    if (folder.isEmpty()) {
        showMissing(QStringLiteral("找不到操作手册。操作手册应在以下文件夹之一：\n") +
                    candidateFolders(programDir()).join(u'\n'));
        return false;
    }
    const QString file = folder + u'/' + (page.isEmpty() ? kIndexPage : page) + kSuffix;
    if (!QFileInfo::exists(file)) {
        showMissing(QStringLiteral("操作手册中没有这一页：\n") + file);
        return false;
    }
    Image1->setSource(QUrl::fromLocalFile(file));
    return true;
}

void Manyual::showMissing(const QString& what) {
    Image1->clearHistory();
    Image1->setSource(QUrl());
    Image1->setPlainText(what);
}

QString Manyual::currentPage() const {
    const QString name = Image1->source().fileName();
    return name.endsWith(kSuffix) ? name.chopped(kSuffix.size()) : QString();
}

void Manyual::showHelp(const QString& page) {
    if (!Screens::has(kForm)) {
        Screens::add(kForm, [] { return new Manyual; });
    }
    auto* viewer = qobject_cast<Manyual*>(Screens::get(kForm));
    if (!viewer->isVisible()) {
        viewer->fromHelp_ = true;
    }
    viewer->openPage(page);
    Screens::showForm(kForm);
}

void Manyual::showEvent(QShowEvent* event) {
    setWindowTitle(kTitle + QStringLiteral(" — ") + session().PeriodLabel);
    // Opened from the daily entry screen (its 帮助): the page on that screen.
    if (!event->spontaneous() && !fromHelp_) {
        openPage(kEntryPage);
    }
    QWidget::showEvent(event);
}

void Manyual::closeEvent(QCloseEvent* event) {
    // Opened from the daily entry screen, closing returns there; from a help box, the screen
    // that asked is still open.
    if (!fromHelp_) {
        Screens::showForm(kEntryScreen);
    }
    fromHelp_ = false;
    event->accept();
}
