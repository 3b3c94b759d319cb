// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/floorgrid.h"

FloorGrid::FloorGrid(QWidget *parent) : QTableWidget(parent) {}

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
