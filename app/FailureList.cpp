#include "FailureList.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

FailureList::FailureList(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName("FailureList");
    setWindowTitle("File non elaborati");
    resize(620, 260);

    list_ = new QTreeWidget(this);
    list_->setObjectName("lstFailures");
    list_->setHeaderLabels({"File", "Motivo"});
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    list_->setAccessibleName("File non elaborati");
    list_->header()->setSectionResizeMode(QHeaderView::Interactive);
    list_->setColumnWidth(0, 320);

    auto* close = new QPushButton("Chiudi", this);
    close->setObjectName("cmdCloseFailures");
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
}

void FailureList::setFailures(const QList<BatchFailure>& failures) {
    list_->clear();
    for (const BatchFailure& f : failures) {
        auto* row = new QTreeWidgetItem(list_);
        row->setText(0, QDir::toNativeSeparators(f.file));
        row->setText(1, QString("errore %1: %2").arg(f.number).arg(f.text));
        row->setToolTip(0, row->text(0));
        row->setToolTip(1, row->text(1));
    }
}
