// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTableWidget>

/// The floor-text grid: a table whose open cell editor the window can commit (before
/// saving, generating, changing pages, closing) or drop (when another project's texts
/// replace the cells).
class FloorGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit FloorGrid(QWidget *parent = nullptr);

    /// The editor open in the current cell, or nullptr.
    QWidget *OpenEditor() const;
    /// Writes the text of an open editor into its cell and closes the editor.
    void CommitEdit();
    /// Closes an open editor without taking over its text.
    void DiscardEdit();
};
