#include "panels/start_screen.h"

#include <QtCore/QDateTime>
#include <QtCore/QFileInfo>
#include <QtGui/QPainter>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "look.h"
#include "app_icon.h"
#include "base/recent_projects.h"
#include "dialogs/file_dialogs.h"

namespace {

constexpr int kThumb = 56;
constexpr int kButton = 400;
constexpr int kList = 340;

QPushButton* Big_Button(const QString& text, const QString& detail, const QIcon& icon) {
    auto* b = new QPushButton(icon, text + "\n" + detail);
    b->setToolTip(detail);
    b->setIconSize(QSize(40, 40));
    b->setFixedSize(kButton, 72);
    b->setStyleSheet("QPushButton { text-align: left; padding: 8px 16px; font-size: 11pt; }");
    return b;
}

QString When(const DateTimeRec& t) {
    QDateTime d(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
    return d.isValid() ? d.toString("yyyy-MM-dd hh:mm") : QString();
}

// The project's preview centred on a square of paper, so that the list's
// rows line up whatever the sheet's shape.
QIcon Thumbnail(const QString& path) {
    QImage square(kThumb, kThumb, QImage::Format_RGB32);
    square.fill(QColor("#e9ecf0"));
    QImage preview = Project_Preview(path.toStdString());
    QPainter p(&square);
    if (!preview.isNull()) {
        QImage fitted = preview.scaled(kThumb - 6, kThumb - 6, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPoint at((kThumb - fitted.width()) / 2, (kThumb - fitted.height()) / 2);
        p.drawImage(at, fitted);
        p.setPen(QColor("#b8bec7"));
        p.drawRect(QRect(at, fitted.size()).adjusted(-1, -1, 0, 0));
    } else {
        p.drawPixmap(8, 8, App_Icon_Pixmap(kThumb - 16));
    }
    return QIcon(QPixmap::fromImage(square));
}

}  // namespace

a_start_screen::a_start_screen(QWidget* parent) : QWidget(parent) {
    setObjectName("startScreen");
    auto* logo = new QLabel;
    logo->setPixmap(App_Icon_Pixmap(96));
    logo->setAlignment(Qt::AlignCenter);
    auto* title = new QLabel(tr("Cirquel"));
    QFont tf = title->font();
    tf.setPointSizeF(tf.pointSizeF() * 2.6);
    title->setFont(tf);
    title->setAlignment(Qt::AlignCenter);
    auto* subtitle = new QLabel(tr("Labels for your discs and their cases"));
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setStyleSheet(Soft_Text_Style());

    auto* create = Big_Button(tr("New Project"), tr("Choose a label stock and start designing"),
                              App_Icon_New());
    create->setObjectName("newProject");
    auto* open = Big_Button(tr("Open Project"), tr("Continue a saved project"), App_Icon_Open());
    open->setObjectName("openProject");
    auto* recent_title = new QLabel(tr("Recent projects"));
    QFont rf = recent_title->font();
    rf.setBold(true);
    recent_title->setFont(rf);
    recent_ = new QListWidget;
    recent_->setObjectName("recentProjects");
    recent_->setToolTip(tr("The projects you saved last; click one to open it"));
    recent_->setFixedWidth(kList);
    recent_->setMinimumHeight(200);
    recent_->setMaximumHeight(360);
    recent_->setIconSize(QSize(kThumb, kThumb));
    recent_->setSpacing(2);
    recent_->setStyleSheet("QListWidget::item { padding: 3px; }");

    auto* left = new QVBoxLayout;
    left->setSpacing(12);
    left->addStretch(2);
    left->addWidget(logo);
    left->addWidget(title);
    left->addWidget(subtitle);
    left->addSpacing(24);
    left->addWidget(create, 0, Qt::AlignHCenter);
    left->addWidget(open, 0, Qt::AlignHCenter);
    left->addStretch(3);
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    right->addStretch(2);
    right->addWidget(recent_title);
    right->addWidget(recent_, 6);
    right->addStretch(3);
    auto* outer = new QHBoxLayout(this);
    outer->addStretch(1);
    outer->addLayout(left);
    outer->addSpacing(40);
    outer->addLayout(right);
    outer->addStretch(1);

    connect(create, &QPushButton::clicked, this, &a_start_screen::New_Project);
    connect(open, &QPushButton::clicked, this, &a_start_screen::Open_Project);
    connect(recent_, &QListWidget::itemClicked, this, &a_start_screen::Recent_Chosen);
    connect(recent_, &QListWidget::itemActivated, this, &a_start_screen::Recent_Chosen);
    Refresh_Recent();
}

void a_start_screen::Refresh_Recent() {
    recent_->clear();
    for (const a_recent_doc& r : Recent_Projects()) {
        QString path = QString::fromUtf8(r.doc_path);
        QFileInfo info(path);
        if (!info.isFile()) continue;
        auto* item = new QListWidgetItem(Thumbnail(path), info.completeBaseName() + "\n" + When(r.doc_time));
        item->setData(Qt::UserRole, path);
        item->setToolTip(path);
        recent_->addItem(item);
    }
    if (recent_->count() == 0) {
        recent_->addItem(tr("No recent projects yet"));
        recent_->item(0)->setFlags(Qt::NoItemFlags);
    }
}

// A double click reaches here twice; the second finds the screen gone.
void a_start_screen::Recent_Chosen(QListWidgetItem* item) {
    QString path = item ? item->data(Qt::UserRole).toString() : QString();
    if (!path.isEmpty() && isVisible()) emit Open_Recent(path);
}
