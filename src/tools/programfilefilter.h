#pragma once

#include <QFileInfo>
#include <QSortFilterProxyModel>

// Shows folders and programs only in a file dialog: files the user may execute and application
// entries (".desktop"), the desktop's two ways of naming a program.
class ProgramFileFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    static bool isProgram(const QFileInfo &info);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
};
