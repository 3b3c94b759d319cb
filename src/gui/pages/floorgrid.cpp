// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/floorgrid.h"

#include <QLineEdit>
#include <QStyledItemDelegate>

namespace {

/// Text-line cells are edited with at most FloorGrid::LineLength characters, so
/// nothing typed is cut off unseen when the project is saved. Labels may be typed
/// longer; the grid cuts them when it is rebuilt.
class LineLengthDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *line = qobject_cast<QLineEdit *>(editor); line && index.column() >= 2)
            line->setMaxLength(FloorGrid::LineLength);
        return editor;
    }
};

} // namespace

FloorGrid::FloorGrid(QWidget *parent) : QTableWidget(parent)
{
    setItemDelegate(new LineLengthDelegate(this));
}

QWidget *FloorGrid::OpenEditor() const
{
    if (state() != QAbstractItemView::EditingState)
        return nullptr;
    return indexWidget(currentIndex());
}

void FloorGrid::CommitEdit()
{
    if (QWidget *editor = OpenEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void FloorGrid::DiscardEdit()
{
    if (QWidget *editor = OpenEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}
