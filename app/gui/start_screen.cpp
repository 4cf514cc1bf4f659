#include "start_screen.h"

#include <QtGui/QPainter>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "app_icon.h"

namespace {

QPushButton* Big_Button(const QString& text, const QString& detail, const QIcon& icon) {
    auto* b = new QPushButton(icon, text + "\n" + detail);
    b->setIconSize(QSize(40, 40));
    b->setFixedSize(430, 72);
    b->setStyleSheet("QPushButton { text-align: left; padding: 8px 16px; font-size: 11pt; }");
    return b;
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
    subtitle->setStyleSheet("color: #5a6270;");

    auto* create = Big_Button(tr("New Project"), tr("Choose a label stock and start designing"),
                              App_Icon_New());
    create->setObjectName("newProject");
    open_ = Big_Button(tr("Open Project"), tr("Continue a saved project"), App_Icon_Open());
    open_->setObjectName("openProject");
    auto* recent_title = new QLabel(tr("Recent projects"));
    QFont rf = recent_title->font();
    rf.setBold(true);
    recent_title->setFont(rf);
    recent_ = new QListWidget;
    recent_->setObjectName("recentProjects");
    recent_->setFixedSize(430, 150);
    recent_->addItem(tr("No recent projects yet"));
    recent_->item(0)->setFlags(Qt::NoItemFlags);

    auto* column = new QVBoxLayout;
    column->setSpacing(12);
    column->addStretch(2);
    column->addWidget(logo);
    column->addWidget(title);
    column->addWidget(subtitle);
    column->addSpacing(24);
    column->addWidget(create, 0, Qt::AlignHCenter);
    column->addWidget(open_, 0, Qt::AlignHCenter);
    column->addSpacing(12);
    column->addWidget(recent_title, 0, Qt::AlignHCenter);
    column->addWidget(recent_, 0, Qt::AlignHCenter);
    column->addStretch(3);
    auto* outer = new QHBoxLayout(this);
    outer->addStretch(1);
    outer->addLayout(column);
    outer->addStretch(1);

    connect(create, &QPushButton::clicked, this, &a_start_screen::New_Project);
    connect(open_, &QPushButton::clicked, this, &a_start_screen::Open_Project);
}

void a_start_screen::Set_Open_Available(bool available, const QString& why) {
    open_->setEnabled(available);
    open_->setToolTip(available ? QString() : why);
    recent_->setToolTip(available ? QString() : why);
}
