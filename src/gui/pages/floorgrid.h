// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/projectmodel.h"

#include <QTableWidget>

/// The floor-text grid: a table whose open cell editor the window can commit (before
/// saving, generating, changing pages, closing) or drop (when another project's texts
/// replace the cells). Cells of the text-line columns (2 and up) take at most
/// \c LineLength characters, the length a project stores.
class FloorGrid : public QTableWidget
{
    Q_OBJECT
public:
    static constexpr int LineLength = ProjectModel::MaxTextLength;

    explicit FloorGrid(QWidget *parent = nullptr);

    /// The editor open in the current cell, or nullptr.
    QWidget *OpenEditor() const;
    /// Writes the text of an open editor into its cell and closes the editor.
    void CommitEdit();
    /// Closes an open editor without taking over its text.
    void DiscardEdit();
};
