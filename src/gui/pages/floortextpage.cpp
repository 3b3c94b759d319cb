// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/floortextpage.h"

#include "app/mainfrm.h"
#include "display/display.h"
#include "display/regionedit.h"
#include "display/displayrect.h"
#include "display/preview.h"
#include "pages/floorgrid.h"
#include "pages/flooricons.h"
#include "pages/floorspinbox.h"
#include "widgets/tledmatrix.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kNumberColumnWidth = 50;
constexpr int kLabelColumnWidth = 40;
constexpr int kLineColumnWidth = 193;

QToolButton *makeButton(QWidget *parent, const QString &name, const QString &text, const QString &hint,
                        bool checkable)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setCheckable(checkable);
    b->setAutoRaise(true);
    return b;
}

QAction *makeToggle(QObject *parent, const QString &name, const QString &caption)
{
    auto *a = new QAction(caption, parent);
    a->setObjectName(name);
    a->setCheckable(true);
    return a;
}

QToolButton *buttonFor(QWidget *parent, QAction *action, const QString &name)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setDefaultAction(action);
    b->setAutoRaise(true);
    return b;
}

void setChecked(QAbstractButton *b, bool on)
{
    const QSignalBlocker blocker(b);
    b->setChecked(on);
}

void setChecked(QAction *a, bool on)
{
    const QSignalBlocker blocker(a);
    a->setChecked(on);
}

void setValue(QSpinBox *box, int value)
{
    const QSignalBlocker blocker(box);
    box->setValue(value);
}

} // namespace

TFloorTextPage::TFloorTextPage(TMainForm &main, QWidget *parent) : QWidget(parent), m_main(main)
{
    setObjectName(u"TabSheetGrund"_s);

    GroupBoxEtagenanzeige = new QGroupBox(tr("Etagenanzeige:"), this);
    RB_VFD1 = new QRadioButton(tr("ORV-VFD  (128 x 64 )"), GroupBoxEtagenanzeige);
    RB_LCD = new QRadioButton(tr("ORV-LCD  (240 x 128)"), GroupBoxEtagenanzeige);
    RB_VFD2 = new QRadioButton(tr("ORV-VFD  (256 x 128 )"), GroupBoxEtagenanzeige);
    RB_VFD1->setObjectName(u"RB_VFD1"_s);
    RB_LCD->setObjectName(u"RB_LCD"_s);
    RB_VFD2->setObjectName(u"RB_VFD2"_s);
    RB_LCD->setChecked(true);
    auto *models = new QVBoxLayout(GroupBoxEtagenanzeige);
    models->addWidget(RB_VFD1);
    models->addWidget(RB_LCD);
    models->addWidget(RB_VFD2);
    connect(RB_VFD1, &QRadioButton::clicked, &m_main, &TMainForm::RB_VFD1Click);
    connect(RB_LCD, &QRadioButton::clicked, &m_main, &TMainForm::RB_LCDClick);
    connect(RB_VFD2, &QRadioButton::clicked, &m_main, &TMainForm::RB_VFD2Click);

    PageControlFont = new QTabWidget(this);
    PageControlFont->setObjectName(u"PageControlFont"_s);
    LBFont = new QListWidget;
    LBFont->setObjectName(u"LBFont"_s);
    LBFont->setSortingEnabled(true);
    LBFont2 = new QListWidget;
    LBFont2->setObjectName(u"LBFont2"_s);
    TabSheetWinFont = LBFont;
    TabSheetOtherFont = LBFont2;
    PageControlFont->addTab(TabSheetWinFont, tr("Windows-Fonts"));
    PageControlFont->addTab(TabSheetOtherFont, tr("Sonstige Fonts"));
    connect(PageControlFont, &QTabWidget::currentChanged, this, &TFloorTextPage::PageControlFontChange);
    for (QListWidget *list : {LBFont, LBFont2}) {
        // A click chooses, also on the entry already selected; the keyboard chooses
        // by moving the selection. Filling the lists from code chooses nothing.
        connect(list, &QListWidget::itemClicked, this, &TFloorTextPage::LBFontClick);
        connect(list, &QListWidget::currentRowChanged, this, [this, list] { fontListRowChanged(list); });
    }

    buildGrid();
    buildToolBars();
    buildPreviewArea();
    buildLayout();
}

TFloorTextPage::~TFloorTextPage() = default;

void TFloorTextPage::buildGrid()
{
    sgET = new FloorGrid(this);
    sgET->setObjectName(u"sgET"_s);
    sgET->verticalHeader()->hide();
    sgET->setSelectionMode(QAbstractItemView::SingleSelection);
    sgET->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    sgET->setToolTip(tr("Einstellige Texte können zentriert dargestellt werden,") + u"\r\n"_s
                     + tr("indem ein Leerzeichen angehängt wird z.B: \"1<leer>\" = zentriert,") + u"\r\n"_s
                     + tr("aber  \"<leer>1\" = nicht zentriert"));
    connect(sgET, &QTableWidget::itemChanged, this, &TFloorTextPage::sgETCellChanged);
    connect(sgET, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { sgETCurrentCellChanged(row, column); });
}

void TFloorTextPage::buildToolBars()
{
    // Font style, size and offsets.
    ToolBarFont = new QToolBar(this);
    ToolBarFont->setObjectName(u"ToolBarFont"_s);
    ToolButtonBold = makeButton(ToolBarFont, u"ToolButtonBold"_s, u"B"_s, tr("Fett"), true);
    QFont bold = ToolButtonBold->font();
    bold.setBold(true);
    ToolButtonBold->setFont(bold);
    ToolButtonItalic = makeButton(ToolBarFont, u"ToolButtonItalic"_s, u"I"_s, tr("Kursiv"), true);
    QFont italic = ToolButtonItalic->font();
    italic.setItalic(true);
    ToolButtonItalic->setFont(italic);
    connect(ToolButtonBold, &QToolButton::clicked, this, &TFloorTextPage::ToolButtonBoldClick);
    connect(ToolButtonItalic, &QToolButton::clicked, this, &TFloorTextPage::ToolButtonItalicClick);

    edFontSize = new QSpinBox(ToolBarFont);
    edFontSize->setObjectName(u"edFontSize"_s);
    edFontSize->setRange(-300, 300);
    edFontSize->setValue(90);
    edFontSize->setToolTip(tr("Schriftgrösse"));
    edHochTief = new FloorReverseSpinBox(ToolBarFont);
    edHochTief->setObjectName(u"edHochTief"_s);
    edHochTief->setRange(-300, 300);
    edHochTief->setValue(0);
    edHochTief->setToolTip(tr("Text nach oben / unten verschieben"));
    edLinksRechts = new QSpinBox(ToolBarFont);
    edLinksRechts->setObjectName(u"edLinksRechts"_s);
    edLinksRechts->setRange(-200, 200);
    edLinksRechts->setValue(0);
    edLinksRechts->setToolTip(tr("Text nach links / rechts verschieben"));
    connect(edFontSize, &QSpinBox::valueChanged, this, &TFloorTextPage::edFontSizeChange);
    connect(edHochTief, &QSpinBox::valueChanged, this, &TFloorTextPage::edHochTiefChange);
    connect(edLinksRechts, &QSpinBox::valueChanged, this, &TFloorTextPage::edLinksRechtsChange);

    ToolBarFont->addWidget(ToolButtonBold);
    ToolBarFont->addWidget(ToolButtonItalic);
    ToolBarFont->addSeparator();
    ToolBarFont->addWidget(new QLabel(tr("Grösse:"), ToolBarFont));
    ToolBarFont->addWidget(edFontSize);
    ToolBarFont->addWidget(new QLabel(tr(" Hoch/Tief:"), ToolBarFont));
    ToolBarFont->addWidget(edHochTief);
    ToolBarFont->addWidget(new QLabel(tr(" Links/Rechts:"), ToolBarFont));
    ToolBarFont->addWidget(edLinksRechts);

    // Region frames, sample text, number of characters, arrow direction, LED size.
    ToolBarPreview = new QToolBar(this);
    ToolBarPreview->setObjectName(u"ToolBarPreview"_s);
    aShowRect = makeToggle(this, u"aShowRect"_s, tr("Bereiche anzeigen"));
    aShowRect->setIcon(FloorIcons::RegionFrames());
    aShowRect->setToolTip(tr("Bereiche anzeigen und mit der Maus verändern"));
    aShowRect->setChecked(true);
    connect(aShowRect, &QAction::triggered, this, &TFloorTextPage::aShowRectExecute);
    ToolButtonPreviewRect = buttonFor(ToolBarPreview, aShowRect, u"ToolButtonPreviewRect"_s);

    edText = new QLineEdit(ToolBarPreview);
    edText->setObjectName(u"edText"_s);
    edText->setMaxLength(ProjectModel::MaxLabelLength);
    edText->setText(u"EG"_s);
    edText->setFixedWidth(edText->fontMetrics().horizontalAdvance(u"WWWW"_s));
    connect(edText, &QLineEdit::textChanged, this, &TFloorTextPage::edTextChange);

    LabelStellen = new QLabel(tr("Anzahl Stellen im Etagentext:"), ToolBarPreview);
    ToolButton18 = makeButton(ToolBarPreview, u"ToolButton18"_s, u"0"_s, tr("Kein Etagentext"), true);
    ToolButton19 = makeButton(ToolBarPreview, u"ToolButton19"_s, u"1"_s, tr("Etagentext 1-stellig"), true);
    ToolButton20 = makeButton(ToolBarPreview, u"ToolButton20"_s, u"2"_s, tr("Etagentext 2-stellig"), true);
    auto *digits = new QButtonGroup(this);
    digits->setExclusive(true);
    for (QToolButton *b : {ToolButton18, ToolButton19, ToolButton20})
        digits->addButton(b);
    connect(ToolButton18, &QToolButton::clicked, this, &TFloorTextPage::ToolButton18Click);
    connect(ToolButton19, &QToolButton::clicked, this, &TFloorTextPage::ToolButton19Click);
    connect(ToolButton20, &QToolButton::clicked, this, &TFloorTextPage::ToolButton20Click);

    ToolButtonArrowUp = makeButton(ToolBarPreview, u"ToolButtonArrowUp"_s, u"\u2191"_s,
                                   tr("Pfeil aufwärts anzeigen"), true);
    ToolButtonArrowDown = makeButton(ToolBarPreview, u"ToolButtonArrowDown"_s, u"\u2193"_s,
                                     tr("Pfeil abwärts anzeigen"), true);
    auto *arrows = new QButtonGroup(this);
    arrows->setExclusive(true);
    arrows->addButton(ToolButtonArrowUp);
    arrows->addButton(ToolButtonArrowDown);
    ToolButtonArrowUp->setChecked(true);
    connect(ToolButtonArrowUp, &QToolButton::clicked, this, &TFloorTextPage::ToolButtonArrowUpClick);
    connect(ToolButtonArrowDown, &QToolButton::clicked, this, &TFloorTextPage::ToolButtonArrowDownClick);

    GaugeBar1 = new QSlider(Qt::Horizontal, ToolBarPreview);
    GaugeBar1->setObjectName(u"GaugeBar1"_s);
    GaugeBar1->setRange(1, 6);
    GaugeBar1->setPageStep(1);
    GaugeBar1->setFixedWidth(60);
    GaugeBar1->setToolTip(tr("LED-Grösse der Vorschau"));
    connect(GaugeBar1, &QSlider::valueChanged, this, &TFloorTextPage::GaugeBar1Change);

    ToolButtonSenkrecht = makeButton(ToolBarPreview, u"ToolButtonSenkrecht"_s, u"\u21BB"_s,
                                     tr("Vertikal / Horizontal"), true);
    connect(ToolButtonSenkrecht, &QToolButton::clicked, this, &TFloorTextPage::ToolButtonSenkrechtClick);

    ToolBarPreview->addWidget(ToolButtonPreviewRect);
    ToolBarPreview->addSeparator();
    ToolBarPreview->addWidget(new QLabel(tr("Beispiel text:"), ToolBarPreview));
    ToolBarPreview->addWidget(edText);
    ToolBarPreview->addSeparator();
    ToolBarPreview->addWidget(LabelStellen);
    for (QToolButton *b : {ToolButton18, ToolButton19, ToolButton20})
        ToolBarPreview->addWidget(b);
    ToolBarPreview->addSeparator();
    ToolBarPreview->addWidget(ToolButtonArrowUp);
    ToolBarPreview->addWidget(ToolButtonArrowDown);
    // The upright mounting comes from the new-project dialog or the project file.
    ToolBarPreview->addWidget(ToolButtonSenkrecht)->setVisible(false);

    // Auto-size, alignment and display options.
    ToolBarOptions = new QToolBar(this);
    ToolBarOptions->setObjectName(u"ToolBarOptions"_s);
    aAutoSize = makeToggle(this, u"aAutoSize"_s, tr("Auto"));
    aAutoSize->setToolTip(tr("Schriftgrösse automatisch anpassen"));
    aAutoSize->setChecked(true);
    connect(aAutoSize, &QAction::triggered, this, &TFloorTextPage::aAutoSizeExecute);
    ToolButtonAutoSize = buttonFor(ToolBarOptions, aAutoSize, u"ToolButtonAutoSize"_s);

    ToolButtonAutoLeft = makeButton(ToolBarOptions, u"ToolButtonAutoLeft"_s, QString(),
                                    tr("Textausrichtung Oben Links"), true);
    ToolButtonAutoMiddle = makeButton(ToolBarOptions, u"ToolButtonAutoMiddle"_s, QString(),
                                      tr("Textausrichtung Mitte"), true);
    ToolButtonAutoRight = makeButton(ToolBarOptions, u"ToolButtonAutoRight"_s, QString(),
                                     tr("Textausrichtung Unten Rechts"), true);
    auto *align = new QButtonGroup(this);
    align->setExclusive(true);
    int mode = 0;
    for (QToolButton *b : {ToolButtonAutoLeft, ToolButtonAutoMiddle, ToolButtonAutoRight}) {
        b->setIcon(FloorIcons::Alignment(mode++));
        align->addButton(b);
    }
    ToolButtonAutoMiddle->setChecked(true);
    connect(ToolButtonAutoLeft, &QToolButton::clicked, this, &TFloorTextPage::ToolButtonAutoLeftClick);
    connect(ToolButtonAutoMiddle, &QToolButton::clicked, this, &TFloorTextPage::ToolButtonAutoMiddleClick);
    connect(ToolButtonAutoRight, &QToolButton::clicked, this, &TFloorTextPage::ToolButtonAutoRightClick);

    aDatumUhrzeit = makeToggle(this, u"aDatumUhrzeit"_s, tr("Datum / Uhrzeit"));
    aPfeile = makeToggle(this, u"aPfeile"_s, tr("Pfeil-Bitmap"));
    aStatischeBitmap = makeToggle(this, u"aStatischeBitmap"_s, tr("Logo-Bitmap"));
    aEtagenBitmap = makeToggle(this, u"aEtagenBitmap"_s, tr("Etagen-Bitmap"));
    aDatumUhrzeit->setChecked(true);
    aPfeile->setChecked(true);
    connect(aDatumUhrzeit, &QAction::triggered, this, &TFloorTextPage::aDatumUhrzeitExecute);
    connect(aPfeile, &QAction::triggered, this, &TFloorTextPage::aPfeileExecute);
    connect(aStatischeBitmap, &QAction::triggered, this, &TFloorTextPage::aStatischeBitmapExecute);
    connect(aEtagenBitmap, &QAction::triggered, this, &TFloorTextPage::aEtagenBitmapExecute);
    ToolButtonDatumUhrzeit = buttonFor(ToolBarOptions, aDatumUhrzeit, u"ToolButtonDatumUhrzeit"_s);
    ToolButtonPfeileBmp = buttonFor(ToolBarOptions, aPfeile, u"ToolButtonPfeileBmp"_s);
    ToolButtonLogoBmp = buttonFor(ToolBarOptions, aStatischeBitmap, u"ToolButtonLogoBmp"_s);
    ToolButtonEtaBmp = buttonFor(ToolBarOptions, aEtagenBitmap, u"ToolButtonEtaBmp"_s);

    ToolBarOptions->addWidget(ToolButtonAutoSize);
    for (QToolButton *b : {ToolButtonAutoLeft, ToolButtonAutoMiddle, ToolButtonAutoRight})
        ToolBarOptions->addWidget(b);
    ToolBarOptions->addSeparator();
    for (QToolButton *b : {ToolButtonDatumUhrzeit, ToolButtonPfeileBmp, ToolButtonLogoBmp, ToolButtonEtaBmp})
        ToolBarOptions->addWidget(b);
    // The zoom sits at the end of the shortest bar, so it never folds away.
    ToolBarFont->addSeparator();
    ToolBarFont->addWidget(GaugeBar1);

    // Start-up: automatic sizing, so the manual inputs are off.
    for (QWidget *w : {static_cast<QWidget *>(edFontSize), static_cast<QWidget *>(edHochTief),
                       static_cast<QWidget *>(edLinksRechts)})
        w->setEnabled(false);
}

void TFloorTextPage::buildPreviewArea()
{
    LED2 = new TLEDMATRIX;
    LED2->setObjectName(u"LED2"_s);
    LED2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LED2, &TLEDMATRIX::mouseDown, this,
            [this](int x, int y, Qt::MouseButton button) { LED2MouseDown(x, y, button); });
    connect(LED2, &TLEDMATRIX::mouseMove, this, [this](int x, int y) { LED2MouseMove(x, y); });
    connect(LED2, &TLEDMATRIX::mouseUp, this, [this](int x, int y) { LED2MouseUp(x, y); });

    PopupMenuLED2 = new QMenu(this);
    PopupMenuLED2->setObjectName(u"PopupMenuLED2"_s);
    MenuEtagentextzeilen = PopupMenuLED2->addMenu(tr("Etagentextzeilen"));
    MenuEtagentextzeilen->setObjectName(u"MenuEtagentextzeilen"_s);
    for (int line = 1; line <= ProjectModel::TextLineCount; ++line) {
        QAction *a = makeToggle(this, u"aEtagentext"_s + QString::number(line),
                                tr("Etagentext Zeile ") + QString::number(line));
        connect(a, &QAction::triggered, this, [this, line] { aEtagentextExecute(line); });
        MenuEtagentextzeilen->addAction(a);
        aEtagentext[size_t(line - 1)] = a;
    }
    connect(LED2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenuLED2->popup(LED2->mapToGlobal(pos)); });

    LEDScrollArea = new QScrollArea(this);
    LEDScrollArea->setObjectName(u"LEDScrollArea"_s);
    LEDScrollArea->setWidget(LED2);
    LEDScrollArea->setWidgetResizable(false);
    LEDScrollArea->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    cbOpt_EtaBitmapDrive = new QCheckBox(tr("Etagenbitmaps / Etagentexte auch während der Fahrt anzeigen "), this);
    cbOpt_EtaBitmapDrive->setObjectName(u"cbOpt_EtaBitmapDrive"_s);
    cbOpt_EtaBitmapDrive->setVisible(false);
    connect(cbOpt_EtaBitmapDrive, &QCheckBox::clicked, this, &TFloorTextPage::cbOpt_EtaBitmapDriveClick);
}

void TFloorTextPage::buildLayout()
{
    // The left column stays narrow; the preview and its tool bars take the width.
    GroupBoxEtagenanzeige->setMaximumWidth(240);
    PageControlFont->setMaximumWidth(240);
    auto *left = new QVBoxLayout;
    left->addWidget(GroupBoxEtagenanzeige);
    left->addWidget(PageControlFont, 1);

    // The three tool bars above the matrix, so that a whole LCD at LED size 1 fits
    // beside the left column in the window's opening size.
    auto *preview = new QWidget;
    auto *previewColumn = new QVBoxLayout(preview);
    previewColumn->setContentsMargins(0, 0, 0, 0);
    previewColumn->addWidget(ToolBarFont);
    previewColumn->addWidget(ToolBarPreview);
    previewColumn->addWidget(ToolBarOptions);
    previewColumn->addWidget(LEDScrollArea, 1);
    previewColumn->addWidget(cbOpt_EtaBitmapDrive);

    Splitter = new QSplitter(Qt::Vertical, this);
    Splitter->setObjectName(u"Splitter"_s);
    Splitter->addWidget(sgET);
    Splitter->addWidget(preview);
    Splitter->setStretchFactor(0, 1);
    Splitter->setStretchFactor(1, 3);
    Splitter->setChildrenCollapsible(false);
    Splitter->setSizes({200, 500});

    auto *page = new QHBoxLayout(this);
    page->addLayout(left);
    page->addWidget(Splitter, 1);
}

// ---- Following the model ------------------------------------------------------------------

void TFloorTextPage::ConnectModel()
{
    ProjectModel *m = m_main.Model.get();
    if (!m)
        return;
    connect(m, &ProjectModel::optionChanged, this, &TFloorTextPage::onOptionChanged);
    connect(m, &ProjectModel::floorTextsChanged, this, [this] {
        // Every project that is opened or created rebuilds its floor texts: from then on
        // the digit buttons show the number of characters, also when it did not change.
        m_digitsShown = true;
        showFloorTexts();
        showOptions();
    });
    showFloorTexts();
    showOptions();
}

void TFloorTextPage::onOptionChanged(ProjectModel::Option option)
{
    using O = ProjectModel::Option;
    if (option == O::FloorTextDigits)
        m_digitsShown = true;
    // Floor count and text lines rebuild the texts, which the model reports itself.
    if (option == O::CurrentFloorRow)
        showCurrentFloorRow();
    showOptions();
}

void TFloorTextPage::showCurrentFloorRow()
{
    const ProjectModel *m = m_main.Model.get();
    const int current = m ? m->CurrentFloorRow() : 0;
    if (current < 1 || current > sgET->rowCount() || sgET->currentRow() == current - 1)
        return;
    const QSignalBlocker blocker(sgET);
    sgET->setCurrentCell(current - 1, qBound(0, sgET->currentColumn(), sgET->columnCount() - 1));
}

void TFloorTextPage::showFloorTexts()
{
    const ProjectModel *m = m_main.Model.get();
    if (!m)
        return;
    // A cell still being edited belongs to the texts being replaced.
    sgET->DiscardEdit();
    const QSignalBlocker blocker(sgET);
    const int rows = m->FloorCount();
    const int columns = m->ShownFloorColumns();
    sgET->setRowCount(rows);
    sgET->setColumnCount(columns);
    QStringList headers;
    for (int c = 0; c < columns; ++c)
        headers << m->FloorColumnHeader(c);
    sgET->setHorizontalHeaderLabels(headers);
    sgET->setColumnWidth(0, kNumberColumnWidth);
    sgET->setColumnWidth(1, kLabelColumnWidth);
    for (int c = 2; c < columns; ++c)
        sgET->setColumnWidth(c, kLineColumnWidth);

    for (int r = 0; r < rows; ++r) {
        const int row = r + 1;
        QTableWidgetItem *number = sgET->item(r, 0);
        if (!number) {
            number = new QTableWidgetItem;
            number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            sgET->setItem(r, 0, number);
        }
        number->setText(QString::number(m->FloorNumber(row)));
        for (int c = 1; c < columns; ++c) {
            QTableWidgetItem *cell = sgET->item(r, c);
            if (!cell) {
                cell = new QTableWidgetItem;
                sgET->setItem(r, c, cell);
            }
            cell->setText(m->FloorText(c, row));
        }
    }
    const int current = m->CurrentFloorRow();
    if (current >= 1 && current <= rows)
        sgET->setCurrentCell(current - 1, qBound(0, sgET->currentColumn(), columns - 1));
}

void TFloorTextPage::showOptions()
{
    const ProjectModel *m = m_main.Model.get();
    if (!m)
        return;
    const bool autoSize = m->AutoSize();
    setChecked(aAutoSize, autoSize);
    for (QWidget *w : {static_cast<QWidget *>(edFontSize), static_cast<QWidget *>(edHochTief),
                       static_cast<QWidget *>(edLinksRechts)})
        w->setEnabled(!autoSize);
    for (QToolButton *b : {ToolButtonAutoLeft, ToolButtonAutoMiddle, ToolButtonAutoRight})
        b->setEnabled(autoSize);
    setChecked(ToolButtonAutoLeft, m->AlignTopLeft());
    setChecked(ToolButtonAutoMiddle, m->AlignCentre());
    setChecked(ToolButtonAutoRight, m->AlignBottomRight());

    if (m_digitsShown) {
        setChecked(ToolButton18, m->FloorTextDigits() == 2);
        setChecked(ToolButton19, m->FloorTextDigits() == 1);
        setChecked(ToolButton20, m->FloorTextDigits() == 0);
    }

    setValue(edFontSize, m->FloorFontSize());
    setValue(edHochTief, m->FloorTextOffsetY());
    setValue(edLinksRechts, m->FloorTextOffsetX());
    setChecked(ToolButtonBold, m->FloorFontBold());
    setChecked(ToolButtonItalic, m->FloorFontItalic());
    if (edText->text() != m->SampleText()) {
        const QSignalBlocker blocker(edText);
        edText->setText(m->SampleText());
    }

    for (int line = 1; line <= ProjectModel::TextLineCount; ++line)
        setChecked(aEtagentext[size_t(line - 1)], m->TextLineTicked(line));

    setChecked(aShowRect, m->ShowRectsButton());
    if (!m->ShowRectsButton())
        LED2->core().SetHintEnabled(false);

    setChecked(aDatumUhrzeit, m->ShowDateTime());
    setChecked(aPfeile, m->ShowArrows());
    setChecked(aStatischeBitmap, m->ShowLogo());
    setChecked(aEtagenBitmap, m->ShowFloorBitmaps());
    setChecked(ToolButtonArrowDown, m->ArrowDown());
    setChecked(ToolButtonArrowUp, !m->ArrowDown());
    ToolButtonArrowDown->setEnabled(m->ShowArrows());
    ToolButtonArrowUp->setEnabled(m->ShowArrows());
    cbOpt_EtaBitmapDrive->setVisible(m->ShowFloorBitmaps());
    setChecked(cbOpt_EtaBitmapDrive, m->ShowWhileMoving());
    setChecked(ToolButtonSenkrecht, m->VerticalMounting());
}

// ---- Floor grid -----------------------------------------------------------------------------

void TFloorTextPage::InitStringGridEtagenTexte(int Count, bool Reset)
{
    ProjectModel *m = m_main.Model.get();
    if (!m)
        return;
    CommitCellEdit();
    // The floor count rebuilds the texts without reset; the rebuild below applies Reset.
    m->SetFloorCount(Count);
    m->InitFloorTexts(Reset);
}

void TFloorTextPage::CommitCellEdit()
{
    sgET->CommitEdit();
}

void TFloorTextPage::sgETCellChanged(QTableWidgetItem *item)
{
    ProjectModel *m = m_main.Model.get();
    if (!m || !item || item->column() < 1)
        return;
    // Kept as typed; the preview takes it over when the row is selected again.
    m->SetFloorText(item->column(), item->row() + 1, item->text());
    m_main.MarkModified();
}

void TFloorTextPage::sgETCurrentCellChanged(int row, int column)
{
    if (row < 0)
        return;
    sgETSelectCell(column, row + 1);
}

void TFloorTextPage::sgETSelectCell(int /*column*/, int row)
{
    // The model presses the arrow of the direction the selection moved, makes the row
    // current and its label the sample text, and asks for the preview.
    if (ProjectModel *m = m_main.Model.get())
        m->SelectFloorRow(row);
}

// ---- Font and text ------------------------------------------------------------------------

void TFloorTextPage::edTextChange(const QString &text)
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetSampleText(text);
}

void TFloorTextPage::edFontSizeChange(int size)
{
    // While auto-sizing the field only shows the fitted size.
    if (ProjectModel *m = m_main.Model.get(); m && !m->AutoSize())
        m->SetFloorFontSize(size);
}

void TFloorTextPage::edHochTiefChange(int offset)
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetFloorTextOffsetY(offset);
}

void TFloorTextPage::edLinksRechtsChange(int offset)
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetFloorTextOffsetX(offset);
}

void TFloorTextPage::ToolButtonBoldClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetFloorFontBold(ToolButtonBold->isChecked());
}

void TFloorTextPage::ToolButtonItalicClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetFloorFontItalic(ToolButtonItalic->isChecked());
}

void TFloorTextPage::fontListRowChanged(QListWidget *list)
{
    // Only a choice of the user: the keyboard in the focused list. A mouse click is
    // answered when the button is released (itemClicked).
    if (list->hasFocus() && QGuiApplication::mouseButtons() == Qt::NoButton)
        LBFontClick();
}

void TFloorTextPage::LBFontClick()
{
    ProjectModel *m = m_main.Model.get();
    if (!m)
        return;
    const bool other = PageControlFont->currentWidget() == TabSheetOtherFont && LBFont2->count() > 0;
    const QListWidgetItem *item = other ? LBFont2->currentItem() : LBFont->currentItem();
    // Without a selected entry the font stays as it is.
    if (item && item->text() != m->FloorFontName()) {
        m->SetFloorFontName(item->text());
        return; // the model asks for the preview
    }
    if (m_main.Previews)
        m_main.Previews->PreviewOut(true, true, true, true, true);
}

void TFloorTextPage::PageControlFontChange(int /*index*/)
{
    LBFontClick();
}

// ---- Automatic sizing, alignment, characters ---------------------------------------------------

void TFloorTextPage::aAutoSizeExecute()
{
    // The action is already toggled; the model's value decides.
    if (ProjectModel *m = m_main.Model.get())
        m->SetAutoSize(!m->AutoSize());
    showOptions();
}

void TFloorTextPage::ToolButtonAutoLeftClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetAlignment(0);
    showOptions();
}

void TFloorTextPage::ToolButtonAutoMiddleClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetAlignment(1);
    showOptions();
}

void TFloorTextPage::ToolButtonAutoRightClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetAlignment(2);
    showOptions();
}

void TFloorTextPage::ToolButton18Click()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetFloorTextDigits(2);
    m_digitsShown = true;
    showOptions();
}

void TFloorTextPage::ToolButton19Click()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetFloorTextDigits(1);
    m_digitsShown = true;
    showOptions();
}

void TFloorTextPage::ToolButton20Click()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetFloorTextDigits(0);
    m_digitsShown = true;
    showOptions();
}

void TFloorTextPage::aEtagentextExecute(int line)
{
    ProjectModel *m = m_main.Model.get();
    if (!m)
        return;
    CommitCellEdit();
    // The action is already toggled; the model toggles from its own ticks, keeps them
    // one run and rebuilds the grid, and the mirror ticks the actions again.
    m->ToggleTextLine(line);
    showOptions();
}

// ---- Region frames and mouse editing -------------------------------------------------------------

void TFloorTextPage::aShowRectExecute()
{
    ProjectModel *m = m_main.Model.get();
    if (!m)
        return;
    const bool on = aShowRect->isChecked();
    m->SetShowRectsButton(on);
    if (m_main.Previews && m->PreviewsAllowed())
        m_main.Previews->ApplyShowRectsButton();
    LED2->core().SetHintEnabled(on);
}

void TFloorTextPage::LED2MouseDown(int x, int y, Qt::MouseButton button)
{
    const ProjectModel *m = m_main.Model.get();
    if (!m || !m->ShowRectsButton() || button != Qt::LeftButton)
        return;
    TDisplay *d = m->MainDisplay();
    if (d->Matrix == &LED2->core())
        d->MouseDown(x, y);
}

void TFloorTextPage::LED2MouseMove(int x, int y)
{
    const ProjectModel *m = m_main.Model.get();
    if (!m || !m->ShowRectsButton())
        return;
    TDisplay *d = m->MainDisplay();
    if (d->Matrix == &LED2->core())
        d->MouseMove(x, y);
}

void TFloorTextPage::LED2MouseUp(int /*x*/, int /*y*/)
{
    const ProjectModel *m = m_main.Model.get();
    if (m) {
        TDisplay *d = m->MainDisplay();
        if (TDisplayRect *dragged = d->DraggedRect()) {
            dragged->DragMode = TDisplayRect::DragNone;
            dragged->SavedRect = dragged->Rect;
            RegionEdit::AlignCharacterRegions(*d, *dragged);
            d->Clear();
            d->ShowRects();
            if (m_main.Previews)
                m_main.Previews->PreviewOut(true, true, true, true, true);
            m_main.MarkModified();
        }
    }
    LED2->core().SetCursor(LedMatrix::CursorShape::Arrow);
}

void TFloorTextPage::GaugeBar1Change(int position)
{
    LED2->core().SetLEDSize(position);
}

void TFloorTextPage::ShowLEDSize()
{
    const QSignalBlocker blocker(GaugeBar1);
    GaugeBar1->setValue(LED2->core().LEDSize());
}

// ---- Display options -----------------------------------------------------------------------------

void TFloorTextPage::cbOpt_EtaBitmapDriveClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetShowWhileMoving(cbOpt_EtaBitmapDrive->isChecked());
}

void TFloorTextPage::ToolButtonSenkrechtClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetVerticalMounting(!m->VerticalMounting());
    showOptions();
}

void TFloorTextPage::ToolButtonArrowUpClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetArrowDown(false);
}

void TFloorTextPage::ToolButtonArrowDownClick()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetArrowDown(true);
}

void TFloorTextPage::aDatumUhrzeitExecute()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetShowDateTime(!m->ShowDateTime());
    showOptions();
}

void TFloorTextPage::aPfeileExecute()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetShowArrows(!m->ShowArrows());
    showOptions();
}

void TFloorTextPage::aStatischeBitmapExecute()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetShowLogo(!m->ShowLogo());
    showOptions();
}

void TFloorTextPage::aEtagenBitmapExecute()
{
    if (ProjectModel *m = m_main.Model.get())
        m->SetShowFloorBitmaps(!m->ShowFloorBitmaps());
    showOptions();
}
