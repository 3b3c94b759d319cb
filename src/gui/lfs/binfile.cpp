// SPDX-License-Identifier: GPL-3.0-or-later
#include "lfs/binfile.h"

#include "ledmatrix/ledmatrix.h"
#include "lfs/lfsreport.h"
#include "project/projectfile.h"
#include "widgets/tledmatrix.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Report colours: white on navy, warnings and errors stand out.
const QColor kReportBack(0x00, 0x00, 0x80);
const QColor kReportText(Qt::white);
const QColor kWarningText(0xFF, 0xE0, 0x60);
const QColor kErrorText(0xFF, 0x80, 0x80);
const QColor kSuccessText(0x80, 0xFF, 0x80);

const QColor kGaugeGreen(0x00, 0x80, 0x00);
const QColor kGaugeRed(0xFF, 0x00, 0x00);

// Room for the whole glyph cell of each matrix; the LEDs are sized to fit it.
const QSize kLargeRoom(340, 340);
const QSize kSmallRoom(200, 180);

/// LED size and gap so that the whole matrix fits \a room (at least one pixel per LED).
void fitLeds(LedMatrix &m, const QSize &room)
{
    const int countX = qMax(1, m.LEDCountX());
    const int countY = qMax(1, m.LEDCountY());
    const int pitch = qBound(1, qMin(room.width() / countX, room.height() / countY), 12);
    const int distance = pitch >= 2 ? 1 : 0;
    m.SetLEDSize(pitch - distance);
    m.SetLEDDistance(distance);
}

QWidget *matrixFrame(TLEDMATRIX *matrix, const QSize &room, QWidget *parent)
{
    auto *frame = new QWidget(parent);
    frame->setMinimumSize(room);
    auto *layout = new QGridLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(matrix, 0, 0, Qt::AlignCenter);
    return frame;
}

} // namespace

TBinaerForm::TBinaerForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("BinaerForm"));
    setWindowTitle(tr("LFS-Datei-Erzeugung"));
    setModal(true);

    MemoOutput = new QListWidget(this);
    MemoOutput->setObjectName(QStringLiteral("MemoOutput"));
    MemoOutput->setSelectionMode(QAbstractItemView::NoSelection);
    MemoOutput->setFocusPolicy(Qt::NoFocus);
    MemoOutput->setTextElideMode(Qt::ElideNone);
    MemoOutput->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    {
        QPalette pal = MemoOutput->palette();
        pal.setColor(QPalette::Base, kReportBack);
        pal.setColor(QPalette::Text, kReportText);
        MemoOutput->setPalette(pal);
        MemoOutput->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    }
    MemoOutput->setMinimumSize(520, 260);

    auto *captionData = new QLabel(tr("Grösse ORV-Daten  in Byte                 :"), this);
    auto *captionFlash = new QLabel(tr("Grösse ORV-Flash (für Daten) in Byte  :"), this);
    captionData->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    captionFlash->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lbBinfileSize = new QLabel(QStringLiteral("??"), this);
    lbBinfileSize->setObjectName(QStringLiteral("lbBinfileSize"));
    lbFlashSize = new QLabel(QString::number(Generator.FlashSizeData), this);
    lbFlashSize->setObjectName(QStringLiteral("lbFlashSize"));
    for (QLabel *l : {lbBinfileSize, lbFlashSize}) {
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(80);
    }

    auto *captionGauge = new QLabel(tr("Speicherauslastung des ORV-Flash"), this);
    SizeGauge = new QProgressBar(this);
    SizeGauge->setObjectName(QStringLiteral("SizeGauge"));
    SizeGauge->setRange(0, Generator.FlashSizeData);
    SizeGauge->setValue(0);
    SizeGauge->setAlignment(Qt::AlignCenter);
    SizeGauge->setFormat(QStringLiteral("%p%"));
    setGaugeColor(kGaugeGreen);

    LED1 = new TLEDMATRIX;
    LED1->setObjectName(QStringLiteral("LED1"));
    LED2 = new TLEDMATRIX;
    LED2->setObjectName(QStringLiteral("LED2"));
    // A new cell size (a new run) resizes the LEDs so the whole glyph stays visible.
    LedMatrix *large = &LED1->core();
    LedMatrix *small = &LED2->core();
    connect(large, &LedMatrix::sizeChanged, this, [large] { fitLeds(*large, kLargeRoom); });
    connect(small, &LedMatrix::sizeChanged, this, [small] { fitLeds(*small, kSmallRoom); });
    fitLeds(*large, kLargeRoom);
    fitLeds(*small, kSmallRoom);
    m_glyphs.SetMatrices(&LED1->core(), &LED2->core());
    m_glyphs.SetGlyphShown([this] { keepAlive(); });
    Generator.SetGlyphSource(&m_glyphs);
    Generator.ProgramFolder = QCoreApplication::applicationDirPath();
    Generator.Report.SetLineAdded([this](const QString &line) { addReportLine(line); });

    auto *largeBox = new QGroupBox(tr("Grosser Font:"), this);
    auto *largeLayout = new QVBoxLayout(largeBox);
    largeLayout->addWidget(matrixFrame(LED1, kLargeRoom, largeBox));
    auto *smallBox = new QGroupBox(tr("Kleiner Font:"), this);
    auto *smallLayout = new QVBoxLayout(smallBox);
    smallLayout->addWidget(matrixFrame(LED2, kSmallRoom, smallBox));

    btnOK = new QPushButton(tr("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnZskUpdate = new QPushButton(tr("Zur ZSK übertragen"), this);
    btnZskUpdate->setObjectName(QStringLiteral("btnZskUpdate"));
    btnZskUpdate->setEnabled(false);
    connect(btnOK, &QPushButton::clicked, this, &TBinaerForm::btnOKClick);
    connect(btnZskUpdate, &QPushButton::clicked, this, &TBinaerForm::btnZskUpdateClick);

    auto *sizes = new QGridLayout;
    sizes->addWidget(captionData, 0, 0);
    sizes->addWidget(lbBinfileSize, 0, 1);
    sizes->addWidget(captionFlash, 1, 0);
    sizes->addWidget(lbFlashSize, 1, 1);
    sizes->setColumnStretch(2, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(MemoOutput, 1);
    left->addLayout(sizes);
    left->addWidget(captionGauge);
    left->addWidget(SizeGauge);

    auto *right = new QVBoxLayout;
    right->addWidget(largeBox, 2);
    right->addWidget(smallBox, 1);

    auto *body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addLayout(right, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnZskUpdate);
    buttons->addWidget(btnOK);

    auto *root = new QVBoxLayout(this);
    root->addLayout(body, 1);
    root->addLayout(buttons);
}

TBinaerForm::~TBinaerForm()
{
    // The report's callback points at this window.
    Generator.Report.SetLineAdded({});
    Generator.SetGlyphSource(nullptr);
    m_glyphs.SetGlyphShown({});
}

void TBinaerForm::CopyLedColors(const LedMatrix &source)
{
    for (TLEDMATRIX *m : {LED1, LED2}) {
        LedMatrix &c = m->core();
        c.SetColorOff(source.ColorOff());
        c.SetColorOn(source.ColorOn());
        c.SetColorUnk(source.ColorUnk());
        c.SetBoxColorOff(source.BoxColorOff());
        c.SetBoxColorOn(source.BoxColorOn());
        c.SetBoxColorUnk(source.BoxColorUnk());
        c.Redraw();
    }
}

void TBinaerForm::SetUserFonts(const TUserFont *large, const TUserFont *small)
{
    m_glyphs.SetUserFonts(large, small);
}

bool TBinaerForm::PrepareRun(const QString &projectPath, const QString &outputPath, qint32 flashSizeData,
                             qint32 flashSize, QString *error)
{
    if (m_running) {
        // The run in progress reads these inputs.
        if (error)
            *error = tr("Es wird bereits eine LFS-Datei erzeugt.");
        return false;
    }
    const ProjectReadResult read = ProjectFile::read(projectPath);
    if (!read.ok()) {
        if (error)
            *error = read.Where.isEmpty() ? read.Error : read.Where + QStringLiteral(": ") + read.Error;
        return false;
    }
    Generator.ProjectCopy = read.Contents->Record;
    Generator.OutputFileName = outputPath;
    Generator.FlashSizeData = flashSizeData;
    Generator.FlashSize = flashSize;
    m_runPending = true;
    return true;
}

int TBinaerForm::StartRun(const QString &projectPath, const QString &outputPath, qint32 flashSizeData,
                          qint32 flashSize)
{
    QString error;
    if (!PrepareRun(projectPath, outputPath, flashSizeData, flashSize, &error)) {
        QMessageBox::critical(ownerForMessages(), windowTitle(), error);
        return QDialog::Rejected;
    }
    return exec();
}

QWidget *TBinaerForm::ownerForMessages()
{
    // A hidden window cannot carry a message box: use the main window then.
    if (!isVisible() && parentWidget())
        return parentWidget();
    return this;
}

void TBinaerForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Only an opening for a new project runs the generator; coming back from the
    // transfer window or a message box shows the last report unchanged.
    if (m_runPending && !event->spontaneous())
        QTimer::singleShot(0, this, &TBinaerForm::FormActivate);
}

void TBinaerForm::FormActivate()
{
    if (!m_runPending || m_running)
        return;
    m_runPending = false;
    m_running = true;
    ++m_runCount;

    btnOK->setEnabled(false);
    btnZskUpdate->setEnabled(false);
    MemoOutput->clear();
    lbFlashSize->setText(QString::number(Generator.FlashSizeData));
    lbBinfileSize->setText(QStringLiteral("??"));
    SizeGauge->setRange(0, qMax(0, Generator.FlashSizeData));
    SizeGauge->setValue(0);
    setGaugeColor(kGaugeGreen);

    const LfsGenerator::Outcome outcome = Generator.Run();

    lbBinfileSize->setText(outcome.BinfileSize < 0 ? QStringLiteral("??") : QString::number(outcome.BinfileSize));
    // A value beyond the maximum would be ignored by the bar: an overflow shows full.
    const qint64 used = qBound(qint64(0), outcome.BinfileSize, qint64(SizeGauge->maximum()));
    SizeGauge->setValue(int(used));
    if (outcome.Overflow)
        setGaugeColor(kGaugeRed);
    btnZskUpdate->setEnabled(outcome.Success);
    btnOK->setEnabled(true);
    m_running = false;

    showOutcome(outcome);
    Q_EMIT runFinished(outcome.Success);
}

void TBinaerForm::showOutcome(const LfsGenerator::Outcome &outcome)
{
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    if (!outcome.MessageBox.isEmpty()) {
        text = outcome.MessageBox;
        icon = QMessageBox::Critical;
    } else if (outcome.WarningBox) {
        text = tr("Das LFS-File wurde erzeugt. Es sind jedoch Warnungen aufgetreten.") + QStringLiteral("\r\n")
               + tr("Die ORV-Anzeige könnte ggf. nicht so reagieren wie von Ihnen vorgesehen !");
    }
    if (text.isEmpty())
        return;

    auto *box = new QMessageBox(icon, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (outcome.Overflow) {
        // The window closes by itself once the message has been read.
        connect(box, &QMessageBox::finished, this, [this] {
            QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
        });
    }
    box->open();
}

void TBinaerForm::addReportLine(const QString &line)
{
    auto *item = new QListWidgetItem(line, MemoOutput);
    if (line.startsWith(LfsReport::ErrorPrefix()) || line == LfsReport::FailureLine()) {
        item->setForeground(kErrorText);
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
    } else if (line.startsWith(LfsReport::WarningPrefix())) {
        item->setForeground(kWarningText);
    } else if (line == LfsReport::SuccessLine()) {
        item->setForeground(kSuccessText);
    }
    MemoOutput->scrollToBottom();
    Q_EMIT lineAdded(line);
    keepAlive();
}

void TBinaerForm::keepAlive()
{
    // Let the list and the matrices repaint and keep the window movable; the close
    // requests that arrive meanwhile are refused while the run is in progress.
    if (isVisible())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TBinaerForm::setGaugeColor(const QColor &color)
{
    SizeGauge->setStyleSheet(QStringLiteral("QProgressBar { text-align: center; } "
                                            "QProgressBar::chunk { background-color: %1; }")
                                 .arg(color.name()));
}

void TBinaerForm::btnOKClick()
{
    accept();
}

void TBinaerForm::btnZskUpdateClick()
{
    if (m_running || !btnZskUpdate->isEnabled())
        return;
    Q_EMIT transferRequested();
}

void TBinaerForm::reject()
{
    if (m_running || m_runPending)
        return;
    QDialog::reject();
}

void TBinaerForm::done(int result)
{
    if (m_running || m_runPending)
        return;
    QDialog::done(result);
}

void TBinaerForm::closeEvent(QCloseEvent *event)
{
    if (m_running || m_runPending) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
