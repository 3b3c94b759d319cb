// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/extendedpage.h"

#include "app/mainfrm.h"
#include "display/display.h"
#include "display/preview.h"
#include "display/regionedit.h"
#include "pages/extsondertextdelegate.h"
#include "settings/inifile.h"
#include "widgets/tledmatrix.h"

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSpecialRows = ProjectModel::SpecialStateCount;
constexpr int kMinColors = 2;
constexpr int kMaxColors = ProgramSettings::kMaxColorPairs;

/// A tab whose matrix sits at its top-left corner.
QWidget *matrixTab(TLEDMATRIX *matrix)
{
    auto *tab = new QWidget;
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(matrix, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch();
    return tab;
}

/// An up-down field whose number is changed by its arrows only.
class ArrowsOnlySpinBox : public QSpinBox
{
public:
    explicit ArrowsOnlySpinBox(QWidget *parent = nullptr) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

QLabel *navyLabel(const QString &text)
{
    auto *label = new QLabel(text);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    label->setPalette(p);
    return label;
}

QLabel *noteLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

bool hasRefusedMonthChars(const QString &text)
{
    static const QString refused = u"äüößÄÖÜ"_s;
    for (const QChar c : text) {
        if (refused.contains(c))
            return true;
    }
    return false;
}

} // namespace

TExtendedPage::TExtendedPage(TMainForm &main, QWidget *parent) : QWidget(parent), m_main(main)
{
    setObjectName(u"TabSheetErweitert"_s);
    LED3 = new TLEDMATRIX;
    LED3->setObjectName(u"LED3"_s);
    LED4 = new TLEDMATRIX;
    LED4->setObjectName(u"LED4"_s);

    PageControlErweitert = new QTabWidget(this);
    PageControlErweitert->setObjectName(u"PageControlErweitert"_s);
    buildSonderTab();
    TabSheetKleinerFont = matrixTab(LED4);
    TabSheetKleinerFont->setObjectName(u"TabSheetKleinerFont"_s);
    buildOptionsTab();
    PageControlErweitert->addTab(TabSheetSonderzeichen, tr("Sonderzeichen"));
    PageControlErweitert->addTab(TabSheetKleinerFont, tr("Kleiner Zeichensatz"));
    PageControlErweitert->addTab(TabSheetOptionen, tr("Optionen"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControlErweitert);

    connect(LED4, &TLEDMATRIX::mouseDown, this,
            [this](int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers) { LED4MouseDown(x, y, button); });
    connect(LED4, &TLEDMATRIX::mouseMove, this,
            [this](int x, int y, Qt::MouseButtons, Qt::KeyboardModifiers) { LED4MouseMove(x, y); });
    connect(LED4, &TLEDMATRIX::mouseUp, this,
            [this](int x, int y, Qt::MouseButton, Qt::KeyboardModifiers) { LED4MouseUp(x, y); });
}

TExtendedPage::~TExtendedPage() = default;

void TExtendedPage::buildSonderTab()
{
    TabSheetSonderzeichen = new QWidget;
    TabSheetSonderzeichen->setObjectName(u"TabSheetSonderzeichen"_s);

    sgSonder = new QTableWidget(kSpecialRows, 2);
    sgSonder->setObjectName(u"sgSonder"_s);
    sgSonder->verticalHeader()->hide();
    sgSonder->setSelectionMode(QAbstractItemView::SingleSelection);
    sgSonder->setSelectionBehavior(QAbstractItemView::SelectItems);
    sgSonder->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                              | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    m_delegate = new TSonderTextDelegate(sgSonder);
    sgSonder->setItemDelegateForColumn(1, m_delegate);
    InitStringGridSonderzeichen();
    sgSonder->setCurrentCell(0, 1);
    sgSonder->setFixedWidth(87 + 107 + 2 * sgSonder->frameWidth()
                            + sgSonder->verticalScrollBar()->sizeHint().width());
    connect(m_delegate, &TSonderTextDelegate::textEdited, this,
            [this](int row, int column, const QString &text) { sgSonderSetEditText(column, row + 1, text); });
    connect(sgSonder, &QTableWidget::currentCellChanged, this,
            [this](int row, int column, int, int) {
                if (row >= 0)
                    sgSonderSelectCell(column, row + 1);
            });
    // A text committed another way than by typing (e.g. pasted by a cell's action).
    connect(sgSonder, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        ProjectModel *model = m_main.Model.get();
        if (!model || item->column() != 1)
            return;
        const int row = item->row() + 1;
        if (model->SpecialText(row) != item->text())
            sgSonderSetEditText(1, row, item->text());
    });

    Label15 = navyLabel(tr("Achtung:"));
    Label15->setObjectName(u"Label15"_s);
    QFont bold = Label15->font();
    bold.setBold(true);
    Label15->setFont(bold);
    Label15Text = navyLabel(tr("Wenn ein Bitmap zugewiesen ist, werden bei diesem Zustand die "
                               "Etagentexte/Pfeile  NICHT mehr angezeigt !"));
    Label15Text->setObjectName(u"Label15Text"_s);
    Label15Text->setWordWrap(true);

    BitBtn2 = new QPushButton(tr("Bitmap entfernen"));
    BitBtn2->setObjectName(u"BitBtn2"_s);
    BitBtn2->setEnabled(false);
    connect(BitBtn2, &QPushButton::clicked, this, &TExtendedPage::ABitmapEntfernenExecute);

    auto *left = new QVBoxLayout;
    // The grid is as high as its ten rows; the note and the button follow below it.
    int gridHeight = sgSonder->horizontalHeader()->sizeHint().height() + 2 * sgSonder->frameWidth();
    for (int row = 0; row < kSpecialRows; ++row)
        gridHeight += sgSonder->rowHeight(row);
    sgSonder->setFixedHeight(gridHeight);
    left->addWidget(sgSonder);
    left->addWidget(Label15);
    left->addWidget(Label15Text);
    left->addWidget(BitBtn2, 0, Qt::AlignLeft);
    left->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(LED3, 0, Qt::AlignLeft | Qt::AlignTop);
    right->addStretch();
    auto *layout = new QHBoxLayout(TabSheetSonderzeichen);
    layout->addLayout(left);
    layout->addLayout(right, 1);
}

void TExtendedPage::buildOptionsTab()
{
    TabSheetOptionen = new QWidget;
    TabSheetOptionen->setObjectName(u"TabSheetOptionen"_s);

    auto *editorBox = new QGroupBox(tr("Externer Grafik-Editor (Befehl):"));
    ExternerEditor = new QLineEdit;
    ExternerEditor->setObjectName(u"ExternerEditor"_s);
    (new QVBoxLayout(editorBox))->addWidget(ExternerEditor);
    connect(ExternerEditor, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_main.ExternerEditor = text; });

    GroupBoxAutosize = new QGroupBox(tr("Autosize-Optimierung:"));
    edFontChars = new QLineEdit(u"EGUTDBAKP0123456789"_s);
    edFontChars->setObjectName(u"edFontChars"_s);
    edFontChars->setMaxLength(ProjectModel::MaxAutoSizeCharsLength);
    (new QVBoxLayout(GroupBoxAutosize))->addWidget(edFontChars);
    connect(edFontChars, &QLineEdit::textEdited, this, &TExtendedPage::edFontCharsChange);

    GroupBoxZeichensatz = new QGroupBox(tr("Zu generierender Zeichensatz:"));
    LBZeichensatz = new QListWidget;
    LBZeichensatz->setObjectName(u"LBZeichensatz"_s);
    LBZeichensatz->addItems({tr("Sonderzeichen ,  0 - 9 "), tr("Sonderzeichen ,  0 - 9 , A-Z"),
                             tr("Sonderzeichen ,  0 - 9 , A-Z, a-z")});
    LBZeichensatz->setCurrentRow(1);
    LBZeichensatz->setFixedHeight(LBZeichensatz->sizeHintForRow(0) * 3 + 2 * LBZeichensatz->frameWidth() + 4);
    (new QVBoxLayout(GroupBoxZeichensatz))->addWidget(LBZeichensatz);
    connect(LBZeichensatz, &QListWidget::currentRowChanged, this, &TExtendedPage::LBZeichensatzClick);

    GroupBoxEtagenOptionen = new QGroupBox(tr("Etagen-Optionen :"));
    GroupBoxEtagenOptionen->setObjectName(u"GroupBoxEtagenOptionen"_s);
    EtagenAnzahlUpDown = new QSpinBox;
    EtagenAnzahlUpDown->setObjectName(u"EtagenAnzahlUpDown"_s);
    EtagenAnzahlUpDown->setRange(ProjectModel::MinFloorCount, ProjectModel::MaxFloorCount);
    EtagenAnzahlUpDown->setValue(5);
    EdEtagenAnzahl = EtagenAnzahlUpDown;
    connect(EtagenAnzahlUpDown, &QSpinBox::valueChanged, this, &TExtendedPage::EdEtagenAnzahlChange);
    BtnEtaTxtReset = new QPushButton(tr("EtagenTexte zurücksetzen"));
    BtnEtaTxtReset->setObjectName(u"BtnEtaTxtReset"_s);
    connect(BtnEtaTxtReset, &QPushButton::clicked, this, &TExtendedPage::BtnEtaTxtResetClick);
    BtnETaZentrieren = new QPushButton(tr("Einstellige Etagentexte zentrieren"));
    BtnETaZentrieren->setObjectName(u"BtnETaZentrieren"_s);
    connect(BtnETaZentrieren, &QPushButton::clicked, this, &TExtendedPage::BtnETaZentrierenClick);
    {
        auto *g = new QGridLayout(GroupBoxEtagenOptionen);
        auto *countLabel = new QLabel(tr("Etagenanzahl:"));
        countLabel->setBuddy(EtagenAnzahlUpDown);
        g->addWidget(countLabel, 0, 0);
        g->addWidget(EtagenAnzahlUpDown, 0, 1, Qt::AlignLeft);
        g->addWidget(BtnEtaTxtReset, 1, 0, 1, 2);
        g->addWidget(BtnETaZentrieren, 2, 0, 1, 2);
        g->addWidget(noteLabel(tr("Die Werte werden nur intern vom Editor benutzt, beeinflussen den "
                                  "binären Output  also nicht !")),
                     3, 0, 1, 2);
    }

    CBInfrarot = new QCheckBox(tr("Infrarot-Receiver einschalten"));
    CBInfrarot->setObjectName(u"CBInfrarot"_s);
    CBInfrarot->setChecked(true);
    connect(CBInfrarot, &QCheckBox::clicked, this, &TExtendedPage::CBInfrarotClick);

    CBSZOhneText = new QCheckBox(tr("Sonderzeichen-Bitmaps ohne Texte"));
    CBSZOhneText->setObjectName(u"CBSZOhneText"_s);
    connect(CBSZOhneText, &QCheckBox::clicked, this, &TExtendedPage::AKeineSZTexteExecute);
    QLabel *szNote = noteLabel(tr("Die Sonderzeichen-Bitmaps (sofern zugewiesen) nehmen dann die gesamte "
                                  "Anzeigenbreite ein.       Wenn keine Bitmap zugewiesen ist, wird der "
                                  "Text normal angezeigt."));

    CBSaveTT = new QCheckBox(tr("True-Type Fonts mit in die Projektdateien aufnehmen"));
    CBSaveTT->setObjectName(u"CBSaveTT"_s);
    CBSaveTT->setChecked(true);
    connect(CBSaveTT, &QCheckBox::clicked, this, &TExtendedPage::CBSaveTTClick);

    AnzahlColorUpDown = new ArrowsOnlySpinBox;
    AnzahlColorUpDown->setObjectName(u"AnzahlColorUpDown"_s);
    AnzahlColorUpDown->setRange(kMinColors, kMaxColors);
    connect(AnzahlColorUpDown, &QSpinBox::valueChanged, this, &TExtendedPage::AnzahlColorUpDownChangingEx);
    auto *colorRow = new QHBoxLayout;
    auto *colorLabel = new QLabel(tr("Anzahl Farben in der Simulation:"));
    colorLabel->setBuddy(AnzahlColorUpDown);
    colorRow->addWidget(colorLabel);
    colorRow->addWidget(AnzahlColorUpDown);
    colorRow->addStretch();

    MemoMonate = new QPlainTextEdit;
    MemoMonate->setObjectName(u"MemoMonate"_s);
    MemoMonate->setLineWrapMode(QPlainTextEdit::NoWrap);
    connect(MemoMonate, &QPlainTextEdit::textChanged, this, &TExtendedPage::MemoMonateChange);
    auto *monthLabel = new QLabel(tr("Abkürzungen Monats - namen (1-12):"));
    monthLabel->setBuddy(MemoMonate);

    auto *leftColumn = new QVBoxLayout;
    leftColumn->addWidget(editorBox);
    leftColumn->addWidget(GroupBoxAutosize);
    leftColumn->addWidget(GroupBoxZeichensatz);
    leftColumn->addWidget(GroupBoxEtagenOptionen);
    leftColumn->addStretch();
    auto *rightColumn = new QVBoxLayout;
    rightColumn->addWidget(CBInfrarot);
    rightColumn->addWidget(CBSZOhneText);
    rightColumn->addWidget(szNote);
    rightColumn->addWidget(CBSaveTT);
    rightColumn->addLayout(colorRow);
    rightColumn->addWidget(monthLabel);
    rightColumn->addWidget(MemoMonate, 1);
    auto *layout = new QHBoxLayout(TabSheetOptionen);
    layout->addLayout(leftColumn, 1);
    layout->addLayout(rightColumn, 1);
}

void TExtendedPage::Attach()
{
    ProjectModel *model = m_main.Model.get();
    if (!model || m_attached)
        return;
    m_attached = true;

    {
        const QSignalBlocker b1(ExternerEditor);
        const QSignalBlocker b2(CBSaveTT);
        const QSignalBlocker b3(AnzahlColorUpDown);
        ExternerEditor->setText(m_main.ExternerEditor);
        CBSaveTT->setChecked(m_main.Settings.SaveIncludeTtf);
        AnzahlColorUpDown->setValue(m_main.ColorCount);
    }

    connect(model, &ProjectModel::specialTextChanged, this, &TExtendedPage::showSpecialText);
    connect(model, &ProjectModel::optionChanged, this, [this](ProjectModel::Option option) {
        ProjectModel *m = m_main.Model.get();
        switch (option) {
        case ProjectModel::Option::CurrentSpecialRow:
            showCurrentSpecialRow();
            ActionListSonderzeichenUpdate();
            break;
        case ProjectModel::Option::SpecialBitmapsOnly: {
            const QSignalBlocker b(CBSZOhneText);
            CBSZOhneText->setChecked(m->SpecialBitmapsOnly());
            break;
        }
        case ProjectModel::Option::FloorCount: {
            const QSignalBlocker b(EtagenAnzahlUpDown);
            EtagenAnzahlUpDown->setValue(m->FloorCount());
            break;
        }
        default:
            break;
        }
    });
    // A project load ends by selecting its display model.
    connect(model, &ProjectModel::displayModelChanged, this, [this] {
        loadFromModel();
        ActionListSonderzeichenUpdate();
    });
    connect(model, &ProjectModel::specialPreviewRequested, this, &TExtendedPage::ActionListSonderzeichenUpdate);
    // The enabling rule is evaluated whenever the application goes idle, so a bitmap
    // stored by any action enables the button without telling the page.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &TExtendedPage::ActionListSonderzeichenUpdate);
    loadFromModel();
    ActionListSonderzeichenUpdate();
}

void TExtendedPage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    loadFromModel();
    ActionListSonderzeichenUpdate();
}

void TExtendedPage::loadFromModel()
{
    const ProjectModel *model = m_main.Model.get();
    if (!model)
        return;
    for (int row = 1; row <= kSpecialRows; ++row)
        showSpecialText(row);
    showCurrentSpecialRow();

    const QSignalBlocker b1(edFontChars);
    const QSignalBlocker b2(LBZeichensatz);
    const QSignalBlocker b3(EtagenAnzahlUpDown);
    const QSignalBlocker b4(CBInfrarot);
    const QSignalBlocker b5(CBSZOhneText);
    const QSignalBlocker b6(MemoMonate);
    if (edFontChars->text() != model->AutoSizeChars)
        edFontChars->setText(model->AutoSizeChars);
    LBZeichensatz->setCurrentRow(qBound(0, model->CharsetChoice, 2));
    EtagenAnzahlUpDown->setValue(model->FloorCount());
    CBInfrarot->setChecked(model->InfraredReceiver);
    CBSZOhneText->setChecked(model->SpecialBitmapsOnly());
    const QString months = model->MonthNames.join(u'\n');
    if (MemoMonate->toPlainText() != months)
        MemoMonate->setPlainText(months);
}

void TExtendedPage::showSpecialText(int row)
{
    const ProjectModel *model = m_main.Model.get();
    QTableWidgetItem *item = sgSonder->item(row - 1, 1);
    if (!model || !item)
        return;
    const QString text = model->SpecialText(row);
    if (item->text() != text) {
        const QSignalBlocker b(sgSonder);
        item->setText(text);
    }
}

void TExtendedPage::showCurrentSpecialRow()
{
    const ProjectModel *model = m_main.Model.get();
    if (!model)
        return;
    const int row = model->CurrentSpecialRow() - 1;
    if (sgSonder->currentRow() == row)
        return;
    const QSignalBlocker b(sgSonder);
    sgSonder->setCurrentCell(row, sgSonder->currentColumn() < 0 ? 1 : sgSonder->currentColumn());
}

void TExtendedPage::InitStringGridSonderzeichen()
{
    const QSignalBlocker b(sgSonder);
    sgSonder->setHorizontalHeaderLabels({tr("Zustand"), tr("Anzeigetext")});
    sgSonder->setColumnWidth(0, 87);
    sgSonder->setColumnWidth(1, 107);
    for (int row = 1; row <= kSpecialRows; ++row) {
        auto *name = new QTableWidgetItem(ProjectModel::SpecialStateName(row));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        sgSonder->setItem(row - 1, 0, name);
        sgSonder->setItem(row - 1, 1, new QTableWidgetItem(ProjectModel::DefaultSpecialText(row)));
    }
}

void TExtendedPage::sgSonderSelectCell(int /*column*/, int row)
{
    ProjectModel *model = m_main.Model.get();
    if (!model)
        return;
    // While the simulation draws a special state over the floor, the matrix keeps it.
    model->SelectSpecialRow(row, !(model->StateFlags & ProjectModel::SpecialStateDrawing));
    ActionListSonderzeichenUpdate();
}

void TExtendedPage::sgSonderSetEditText(int /*column*/, int row, const QString &text)
{
    ProjectModel *model = m_main.Model.get();
    if (!model || row < 1 || row > kSpecialRows)
        return;
    // The model signals the edit (the window records it), makes the row current and
    // asks for the special-state preview.
    model->SetSpecialText(row, text);
}

void TExtendedPage::CommitCellEdit()
{
    if (m_delegate)
        m_delegate->CommitAndClose();
}

void TExtendedPage::ActionListSonderzeichenUpdate()
{
    const ProjectModel *model = m_main.Model.get();
    const bool has = model && model->SpecialBitmap(model->Model(), model->CurrentSpecialRow());
    if (BitBtn2->isEnabled() != has)
        BitBtn2->setEnabled(has);
}

void TExtendedPage::ABitmapEntfernenExecute()
{
    ProjectModel *model = m_main.Model.get();
    if (!model)
        return;
    const int row = model->CurrentSpecialRow();
    if (model->SpecialBitmap(model->Model(), row)) {
        model->SetSpecialBitmap(model->Model(), row, QImage());
        m_main.MarkModified();
    }
    if (m_main.Previews)
        m_main.Previews->PreviewSonderzeichenOut(row, true);
    ActionListSonderzeichenUpdate();
}

void TExtendedPage::AKeineSZTexteExecute()
{
    ProjectModel *model = m_main.Model.get();
    if (model) {
        const bool on = CBSZOhneText->isChecked();
        if (model->SpecialBitmapsOnly() != on)
            model->SetSpecialBitmapsOnly(on); // redraws the special state
        else if (m_main.Previews)
            m_main.Previews->PreviewSonderzeichenOut(model->CurrentSpecialRow(), true);
    }
    CBSZOhneText->clearFocus();
}

void TExtendedPage::LED4MouseDown(int x, int y, Qt::MouseButton button)
{
    if (button != Qt::LeftButton || !m_main.Model)
        return;
    m_main.Model->KleinDisplay()->MouseDown(x, y);
}

void TExtendedPage::LED4MouseMove(int x, int y)
{
    if (m_main.Model)
        m_main.Model->KleinDisplay()->MouseMove(x, y);
}

void TExtendedPage::LED4MouseUp(int /*x*/, int /*y*/)
{
    ProjectModel *model = m_main.Model.get();
    if (!model)
        return;
    TDisplay *klein = model->KleinDisplay();
    std::vector<TRect> before;
    before.reserve(klein->Rects.size());
    for (const auto &r : klein->Rects)
        before.push_back(r->SavedRect);
    if (RegionEdit::EndSmallFontDrag(*klein, model->MainDisplay())) {
        klein->Clear();
        klein->ShowRects();
        if (m_main.Previews)
            m_main.Previews->PreviewKleinerFontOut();
        bool changed = false;
        for (size_t i = 0; i < klein->Rects.size() && i < before.size(); ++i)
            changed = changed || klein->Rects[i]->SavedRect != before[i];
        if (changed)
            m_main.MarkModified();
    }
    klein->SetCursor(LedMatrix::CursorShape::Arrow);
}

void TExtendedPage::EdEtagenAnzahlChange()
{
    // The model rebuilds the floor texts, marks the edit and asks for a cleared,
    // framed floor preview.
    if (m_main.Model)
        m_main.Model->SetFloorCount(EtagenAnzahlUpDown->value());
}

void TExtendedPage::BtnEtaTxtResetClick()
{
    m_main.BtnEtaTxtResetClick();
}

void TExtendedPage::BtnETaZentrierenClick()
{
    if (m_main.Model)
        m_main.Model->CentreSingleCharLabels();
}

void TExtendedPage::edFontCharsChange()
{
    ProjectModel *model = m_main.Model.get();
    if (!model || model->AutoSizeChars == edFontChars->text())
        return;
    model->AutoSizeChars = edFontChars->text();
    m_main.MarkModified();
    if (m_main.Previews)
        m_main.Previews->PreviewKleinerFontOut();
}

void TExtendedPage::LBZeichensatzClick()
{
    ProjectModel *model = m_main.Model.get();
    const int row = LBZeichensatz->currentRow();
    if (!model || row < 0 || row > 2 || model->CharsetChoice == row)
        return;
    model->CharsetChoice = row;
    m_main.MarkModified();
}

void TExtendedPage::CBInfrarotClick()
{
    ProjectModel *model = m_main.Model.get();
    if (!model || model->InfraredReceiver == CBInfrarot->isChecked())
        return;
    model->InfraredReceiver = CBInfrarot->isChecked();
    m_main.MarkModified();
}

void TExtendedPage::CBSaveTTClick()
{
    const bool on = CBSaveTT->isChecked();
    m_main.Settings.SaveIncludeTtf = on;
    IniFile(m_main.Context().SettingsPath()).WriteBool(Keys::kSettingsUpper, Keys::kSaveIncludeTtf, on);
}

void TExtendedPage::AnzahlColorUpDownChangingEx(int value)
{
    if (value < kMinColors || value > kMaxColors)
        return;
    IniFile(m_main.Context().SettingsPath()).WriteInteger(Keys::kSimulation, Keys::kColors, value);
    m_main.LoadColorPairs();
}

QString TExtendedPage::InvalidMonthCharsMessage()
{
    return tr("Ungültige Zeichen, bitte wieder entfernen!") + u"\n\n"_s
        + tr("Die Zeichen ÄÖÜäöüß werden nicht unterstützt.");
}

void TExtendedPage::MemoMonateChange()
{
    const QString text = MemoMonate->toPlainText();
    if (hasRefusedMonthChars(text)) {
        if (m_main.ShowMessage)
            m_main.ShowMessage(InvalidMonthCharsMessage());
        return;
    }
    ProjectModel *model = m_main.Model.get();
    if (!model)
        return;
    const QStringList lines = text.split(u'\n');
    if (lines == model->MonthNames)
        return;
    model->MonthNames = lines;
    m_main.MarkModified();
}
