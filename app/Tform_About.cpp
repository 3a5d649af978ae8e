#include "Tform_About.h"

#include "ui/Artwork.h"
#include "ui/Fonts.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

Tform_About::Tform_About(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("form_About"));
    setWindowTitle(QStringLiteral("关于"));
    setModal(true);

    auto* emblem = new QLabel(this);
    emblem->setObjectName(QStringLiteral("ProgramIcon"));
    emblem->setPixmap(ui::artwork::aboutPicture());
    auto* name = new QLabel(QStringLiteral("Tallomer 出纳日记账"), this);
    name->setObjectName(QStringLiteral("ProductName"));
    name->setFont(ui::songFont(18, true));
    auto* version = new QLabel(QStringLiteral("版本 %1").arg(QCoreApplication::applicationVersion()), this);
    version->setObjectName(QStringLiteral("Version"));
    auto* makers = new QLabel(QStringLiteral("现金日记账与银行日记账、统计、打印和导出\n"
                                             "由 Tallomer 开发组编写"),
                              this);
    makers->setObjectName(QStringLiteral("Comments"));
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addSpacing(6);
    text->addWidget(makers);
    auto* top = new QHBoxLayout;
    top->addWidget(emblem, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(10);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace app
