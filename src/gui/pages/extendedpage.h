// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class TDisplay;
class TLEDMATRIX;
class TMainForm;
class TSonderTextDelegate;

/// The page "Erweiterte Einstellungen" with its inner tabs "Sonderzeichen" (special
/// states on LED3), "Kleiner Zeichensatz" (small-font layout on LED4) and "Optionen".
///
/// The controls show the project model's data and write every user change back to it
/// at once; they follow the model's signals, and refill from the model whenever the
/// page is shown (data the model keeps without signals: fit characters, character
/// set, infrared receiver, month names).
class TExtendedPage : public QWidget
{
    Q_OBJECT
public:
    explicit TExtendedPage(TMainForm &main, QWidget *parent = nullptr);
    ~TExtendedPage() override;

    /// Connects the page to the main window's model and previews and takes over the
    /// settings read at creation; called once the main window has made its model.
    void Attach();

    /// Commits a cell editor still open in sgSonder.
    void CommitCellEdit();

    // Handlers.
    void InitStringGridSonderzeichen();
    /// \a row 1..10.
    void sgSonderSelectCell(int column, int row);
    /// A keystroke in the cell editor of \a row (1..10): the text goes to the model,
    /// which makes the row current and redraws the special-state preview.
    void sgSonderSetEditText(int column, int row, const QString &text);
    /// BitBtn2 is enabled exactly while the current state's slot holds a bitmap.
    /// Runs whenever the application goes idle and after the page's own changes.
    void ActionListSonderzeichenUpdate();
    void ABitmapEntfernenExecute();
    void AKeineSZTexteExecute();
    void LED4MouseDown(int x, int y, Qt::MouseButton button);
    void LED4MouseMove(int x, int y);
    void LED4MouseUp(int x, int y);
    void EdEtagenAnzahlChange();
    void BtnEtaTxtResetClick();
    void BtnETaZentrierenClick();
    void edFontCharsChange();
    void LBZeichensatzClick();
    void CBInfrarotClick();
    void CBSaveTTClick();
    /// The number of simulation colours is about to become \a value: 2..50 are written
    /// to the settings and the colour pairs reloaded.
    void AnzahlColorUpDownChangingEx(int value);
    /// Month names: text with ÄÖÜäöüß is refused with a warning (it stays in the memo,
    /// the project keeps its names); otherwise the lines become the project's names.
    void MemoMonateChange();

    /// The message shown for refused characters in the month names.
    static QString InvalidMonthCharsMessage();

    QTabWidget *PageControlErweitert = nullptr;
    QWidget *TabSheetSonderzeichen = nullptr;
    QWidget *TabSheetKleinerFont = nullptr;
    QWidget *TabSheetOptionen = nullptr;

    TLEDMATRIX *LED3 = nullptr; ///< special states
    TLEDMATRIX *LED4 = nullptr; ///< small font

    // "Sonderzeichen".
    QTableWidget *sgSonder = nullptr;
    QLabel *Label15 = nullptr;     ///< "Achtung:"
    QLabel *Label15Text = nullptr; ///< the note beside it
    QPushButton *BitBtn2 = nullptr; ///< "Bitmap entfernen"

    // "Optionen".
    QLineEdit *ExternerEditor = nullptr; ///< command line of the external bitmap editor
    QGroupBox *GroupBoxAutosize = nullptr;
    QLineEdit *edFontChars = nullptr;
    QGroupBox *GroupBoxZeichensatz = nullptr;
    QListWidget *LBZeichensatz = nullptr;
    QGroupBox *GroupBoxEtagenOptionen = nullptr;
    QSpinBox *EtagenAnzahlUpDown = nullptr;
    QSpinBox *EdEtagenAnzahl = nullptr; ///< the same control as EtagenAnzahlUpDown
    QPushButton *BtnEtaTxtReset = nullptr;
    QPushButton *BtnETaZentrieren = nullptr;
    QCheckBox *CBInfrarot = nullptr;
    QCheckBox *CBSZOhneText = nullptr;
    QCheckBox *CBSaveTT = nullptr;
    QSpinBox *AnzahlColorUpDown = nullptr;
    QPlainTextEdit *MemoMonate = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildSonderTab();
    void buildOptionsTab();
    /// Fills the controls from the model, without running their handlers.
    void loadFromModel();
    void showCurrentSpecialRow();
    void showSpecialText(int row);

    TMainForm &m_main;
    TSonderTextDelegate *m_delegate = nullptr;
    bool m_attached = false;
};
