#include "tools/programfiledialog.h"

#include "tools/programfilefilter.h"

const QString ProgramFileDialog::Filter = QStringLiteral("Programs (*)");

ProgramFileDialog::ProgramFileDialog(QWidget *parent)
    : QFileDialog(parent) {
    setObjectName(QStringLiteral("OD"));
    // The desktop's own dialog cannot be told to list programs only.
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    setNameFilter(Filter);
    setProxyModel(new ProgramFileFilter(this));
}

QString ProgramFileDialog::chosenFile() const {
    return selectedFiles().value(0);
}
