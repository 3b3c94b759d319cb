// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/extsondertextdelegate.h"

#include <QLineEdit>

QWidget *TSonderTextDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                           const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line) {
        delete editor;
        line = new QLineEdit(parent);
        line->setFrame(false);
    }
    const int row = index.row();
    const int column = index.column();
    connect(line, &QLineEdit::textEdited, this,
            [this, row, column](const QString &text) { Q_EMIT textEdited(row, column, text); });
    m_editor = line;
    return line;
}

void TSonderTextDelegate::CommitAndClose()
{
    QLineEdit *editor = m_editor;
    if (!editor)
        return;
    m_editor = nullptr;
    Q_EMIT commitData(editor);
    Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
}
