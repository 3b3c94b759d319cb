// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/programfonts.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QListWidget;
class QTabWidget;
class QWidget;
struct FontSection;

/// The two font lists of the floor-text page: LBFont (installed families, sorted)
/// and LBFont2 (the families of the program's fonts folder, added for the program),
/// and the selection of an opened project's font, installing its embedded files
/// when the family is missing.
class TFontLists : public QObject
{
    Q_OBJECT
public:
    /// \a services null: the system's font database.
    TFontLists(const QString &fontsFolder, FontServices *services = nullptr, QObject *parent = nullptr);

    /// The widgets the lists live in; the delegate is installed on both lists.
    /// \a pageControl and the pages may be null.
    void SetWidgets(QListWidget *lbFont, QListWidget *lbFont2, QTabWidget *pageControl, QWidget *tabSheetWinFont,
                    QWidget *tabSheetOtherFont);

    /// Shows a message to the user (a message box in the editor; tests record it).
    std::function<void(const QString &text)> ShowMessage;
    /// The lists' click handler: makes the selected entry the working font.
    std::function<void()> LBFontClick;

    /// Refills both lists and adds the fonts of the fonts folder for the program. The
    /// selected row of each list is kept when the list still has that many entries.
    void RebuildFontLists();

    /// The row of \a family in \a list, letter case ignored; -1 when not listed.
    static int FindFamily(const QListWidget *list, const QString &family);

    enum class Selection {
        Listed,       ///< the family was listed and is selected
        NotAvailable, ///< neither listed nor embedded: the selection stays
        Installed,    ///< the embedded files were installed and the family selected
        NotInstalled, ///< the embedded files did not make the family available
    };
    /// Selects the font \a family of an opened project; \a fonts are the file's
    /// embedded font files. Shows the messages about missing and installed fonts.
    Selection SelectProjectFont(const QString &family, const FontSection &fonts);

    /// The full paths of the files added for the program, in the order first added.
    QStringList AddedFontFiles() const { return m_fonts.AddedFontFiles(); }
    /// Removes the added fonts again (at shut-down); the files stay in the folder.
    void RemoveAddedFonts() { m_fonts.RemoveAddedFonts(); }
    QString FontsFolder() const { return m_fonts.Folder(); }

private:
    void rebuild(const ProgramFonts::ScanResult &scan);
    void message(const QString &text);
    void activate(QWidget *page);

    ProgramFonts m_fonts;
    QListWidget *m_lbFont = nullptr;
    QListWidget *m_lbFont2 = nullptr;
    QTabWidget *m_pageControl = nullptr;
    QWidget *m_tabWin = nullptr;
    QWidget *m_tabOther = nullptr;
};
