// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

/// Cell editor of the special-state texts: reports every keystroke of the open editor
/// with its row, so the preview follows the typing, and can commit an open editor.
class TSonderTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;

    /// The editor currently open, or null.
    QLineEdit *OpenEditor() const { return m_editor; }
    /// Writes the open editor's text into its cell and closes it; nothing without one.
    void CommitAndClose();

Q_SIGNALS:
    /// The user changed the text of the editor in \a row (0-based model row).
    void textEdited(int row, int column, const QString &text) const;

private:
    mutable QPointer<QLineEdit> m_editor;
};
