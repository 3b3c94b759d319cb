// SPDX-License-Identifier: GPL-3.0-or-later
#include "orvcli.h"

#include "app/colortext.h"
#include "app/layoutreport.h"
#include "display/display.h"
#include "display/layouts.h"
#include "display/preview.h"
#include "display/userfont.h"
#include "ledmatrix/ledmatrix.h"
#include "lfs/crc16.h"
#include "lfs/displayglyphsource.h"
#include "lfs/floortable.h"
#include "lfs/lfsgenerator.h"
#include "lfs/lfsheaders.h"
#include "lfs/lfsparams.h"
#include "lfs/statetable.h"
#include "lfs/texttable.h"
#include "project/fontfiles.h"
#include "project/projectfile.h"
#include "project/projectmapping.h"
#include "project/projectmodel.h"
#include "settings/inifile.h"
#include "settings/programsettings.h"
#include "util/win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalBlocker>
#include <QtEndian>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const char *const kModelNames[] = {"vfd128", "lcd240", "vfd256"};

/// The two bitmap fonts every layout needs.
struct BitmapFonts
{
    TUserFont Font1;
    TUserFont Font2;
    bool Load(const AppContext &context, QString *error)
    {
        return Font1.LoadFromFile(context.FilePath(u"terminal1.fnt"_s), error)
            && Font2.LoadFromFile(context.FilePath(u"terminal2.fnt"_s), error);
    }
    /// The bitmap font of the main and small-font layouts of a model.
    const TUserFont *ForModel(int displayModel) const { return displayModel == 0 ? &Font1 : &Font2; }
};

/// Loads the two bitmap fonts beside the program; false (reported on \a err) when one is unusable.
bool loadBitmapFonts(BitmapFonts &fonts, const AppContext &context, QTextStream &err)
{
    QString error;
    if (fonts.Load(context, &error))
        return true;
    err << "orvedit-cli: " << error << Qt::endl;
    return false;
}

/// Applies the editing colours ("EditLEDColor") to a matrix, as the editor does.
void applyEditColors(LedMatrix &m, const EditLedColors &c)
{
    m.SetColorOff(c.ColorOff);
    m.SetColorOn(c.ColorOn);
    m.SetColorUnk(c.ColorOn);
    m.SetBoxColorOff(c.BoxColorOff);
    m.SetBoxColorOn(c.BoxColorOn);
    m.SetBoxColorUnk(c.BoxColorOn);
}

QString hex(quint32 v, int digits)
{
    return u"0x"_s + QString::number(v, 16).toUpper().rightJustified(digits, u'0');
}

QString decodedDate(quint32 v)
{
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(v >> 20, 4, 10, QLatin1Char('0'))
        .arg((v >> 16) & 0xF, 2, 10, QLatin1Char('0'))
        .arg((v >> 11) & 0x1F, 2, 10, QLatin1Char('0'))
        .arg((v >> 6) & 0x1F, 2, 10, QLatin1Char('0'))
        .arg(v & 0x3F, 2, 10, QLatin1Char('0'));
}

QJsonObject dateJson(quint32 v)
{
    return QJsonObject{{u"packed"_s, hex(v, 8)}, {u"text"_s, decodedDate(v)}};
}

/// A text table entry: the characters up to the first zero, trailing spaces removed.
QString entryText(const QByteArray &entry)
{
    const qsizetype zero = entry.indexOf('\0');
    return Win1252::toUnicode(zero < 0 ? entry : entry.left(zero)).trimmed();
}

/// Collects what `info` finds, as text lines and as JSON at once.
class InfoReport
{
public:
    void Line(const QString &text) { m_lines.append(text); }
    void Problem(const QString &text)
    {
        m_problems.append(text);
        m_lines.append(u"DAMAGED: "_s + text);
    }
    bool Damaged() const { return !m_problems.isEmpty(); }
    QJsonObject Json;
    const QStringList &Lines() const { return m_lines; }
    QJsonArray Problems() const { return QJsonArray::fromStringList(m_problems); }

private:
    QStringList m_lines;
    QStringList m_problems;
};

} // namespace

OrvCli::OrvCli(const AppContext &context, QTextStream &out, QTextStream &err)
    : m_context(context), m_programFonts(context.FontsFolder()), m_out(out), m_err(err)
{
}

int OrvCli::ModelFromName(const QString &name)
{
    for (int i = 0; i < 3; ++i)
        if (name.compare(QLatin1String(kModelNames[i]), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString OrvCli::ProposedFlashFileName(const QString &projectPath, int displayModel)
{
    const QFileInfo info(projectPath);
    QString prefix;
    switch (displayModel) {
    case 0:
        prefix = u"vfd_128x64_"_s;
        break;
    case 2:
        prefix = u"vfd_256x128_"_s;
        break;
    default:
        prefix = u"lcd_240x128_"_s;
        break;
    }
    return info.dir().filePath(prefix + info.completeBaseName() + u".lfs"_s);
}

bool OrvCli::loadProgramFonts()
{
    // The fonts carried by projects are kept in the fonts folder; the editor adds all
    // of them at start.
    m_programFonts.AddFolderFonts();
    const QStringList added = m_programFonts.AddedFontFiles();
    bool ok = true;
    const QStringList files = FontFiles::TtfFilesIn({m_programFonts.Folder()}, false);
    for (const QString &f : files) {
        if (!added.contains(f)) {
            m_err << "orvedit-cli: font " << f << " could not be loaded" << Qt::endl;
            ok = false;
        }
    }
    return ok;
}

void OrvCli::provideProjectFont(const QString &command, const QString &family, const FontSection &fonts)
{
    if (fonts.isEmpty() || m_programFonts.Services().IsAvailable(family))
        return;
    QString error;
    if (!m_programFonts.InstallEmbedded(fonts, nullptr, &error))
        m_err << "orvedit-cli " << command << ": " << error << Qt::endl;
    else if (m_programFonts.Services().IsAvailable(family))
        m_err << "orvedit-cli " << command << ": font \"" << family << "\" installed into "
              << QDir::toNativeSeparators(m_programFonts.Folder()) << Qt::endl;
    else
        m_err << "orvedit-cli " << command << ": font \"" << family << "\" could not be installed" << Qt::endl;
}

int OrvCli::Layouts()
{
    BitmapFonts fonts;
    if (!loadBitmapFonts(fonts, m_context, m_err))
        return ExitFailed;
    QString error;
    const DisplayLayouts layouts(&fonts.Font1, &fonts.Font2);
    m_out << LayoutReport::Text(layouts);
    m_out.flush();
    return ExitOk;
}

int OrvCli::Demo()
{
    m_out << "Kelvra ORV-Editor " << QStringLiteral(ORV_VERSION) << Qt::endl;
    m_out << "Program folder: " << m_context.ProgramFolder() << Qt::endl;
    QString error;
    if (!m_context.CreateFolders(&error)) {
        m_err << "orvedit-cli: " << error << Qt::endl;
        return ExitFailed;
    }
    const QString project = QDir(m_context.ProjectFolder()).filePath(u"demo.orv"_s);
    m_out << "Creating a new LCD 240 x 128 project from the template ..." << Qt::endl;
    int rc = newProject(u"lcd240"_s, false, 5, project, true);
    if (rc != ExitOk)
        return rc;
    m_out << "Project: " << QDir::toNativeSeparators(project) << Qt::endl;
    m_out << "Generating its flash file ..." << Qt::endl;
    QString lfs;
    rc = generate(project, QString(), &lfs);
    if (rc != ExitOk)
        return rc;
    m_out << "Project file: " << QDir::toNativeSeparators(project) << Qt::endl;
    m_out << "Flash file:   " << QDir::toNativeSeparators(lfs) << Qt::endl;
    return ExitOk;
}

int OrvCli::New(const QString &model, bool upright, int floors, const QString &output)
{
    return newProject(model, upright, floors, output, false);
}

int OrvCli::newProject(const QString &modelName, bool upright, int floors, const QString &output, bool quiet)
{
    const int model = ModelFromName(modelName);
    if (model < 0) {
        m_err << "orvedit-cli new: unknown model \"" << modelName << "\" (vfd128, lcd240 or vfd256)" << Qt::endl;
        return ExitBadInput;
    }
    if (floors < ProjectModel::MinFloorCount || floors > ProjectModel::MaxFloorCount) {
        m_err << "orvedit-cli new: the number of floors must be 2..64" << Qt::endl;
        return ExitBadInput;
    }
    if (output.isEmpty()) {
        m_err << "orvedit-cli new: no output file (-o FILE.orv)" << Qt::endl;
        return ExitBadInput;
    }
    BitmapFonts fonts;
    if (!loadBitmapFonts(fonts, m_context, m_err))
        return ExitFailed;
    QString error;
    loadProgramFonts();

    // The matrices the save draws into outlive the model's layouts that refer to them.
    LedMatrix led2;
    LedMatrix led4;
    ProjectModel project(&fonts.Font1, &fonts.Font2);
    const QString templatePath =
        m_context.FilePath(upright ? u"newvproject.dat"_s : u"newproject.dat"_s);
    if (!QFileInfo::exists(templatePath)) {
        m_err << "orvedit-cli new: template " << templatePath << " not found" << Qt::endl;
        return ExitFailed;
    }
    ProjectApplyOptions options;
    options.Template = true;
    options.TemplateFloorCount = floors;
    options.TemplateDisplayModel = model;
    options.TemplateVertical = upright;
    project.StateFlags |= ProjectModel::NewProjectBuilding;
    const ProjectOpenResult opened = ProjectMapping::OpenProjectFile(project, templatePath, options);
    if (!opened.Ok) {
        m_err << "orvedit-cli new: " << templatePath << ": " << opened.Error;
        if (!opened.Where.isEmpty())
            m_err << " (" << opened.Where << ")";
        m_err << Qt::endl;
        return ExitFailed;
    }
    for (const QString &w : opened.Warnings)
        m_err << "orvedit-cli new: " << templatePath << ": " << w << Qt::endl;

    // Saving redraws the floor and small-font previews first: with auto-size on, the
    // shown model's text regions are stored shrunk to the fitted glyph box.
    {
        Preview preview(project);
        preview.SetMatrices(&led2, nullptr, &led4);
        preview.PreviewOut();
        preview.PreviewKleinerFontOut();
    }
    QStringList warnings;
    if (!ProjectMapping::SaveProjectFile(project, output, FontSection(), &error, &warnings)) {
        m_err << "orvedit-cli new: " << output << ": " << error << Qt::endl;
        return ExitFailed;
    }
    for (const QString &w : warnings)
        m_err << "orvedit-cli new: " << w << Qt::endl;
    if (!quiet)
        m_out << "Created " << QDir::toNativeSeparators(output) << " (" << QLatin1String(kModelNames[model])
              << (upright ? ", upright" : "") << ", " << floors << " floors)" << Qt::endl;
    return ExitOk;
}

int OrvCli::Convert(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        m_err << "orvedit-cli convert: " << path << ": no such file" << Qt::endl;
        return ExitBadInput;
    }
    const ConvertResult r = ProjectFile::ConvertOldProject(path);
    switch (r.Result) {
    case ConvertResult::Status::CurrentFormat:
        m_out << path << ": already in the current format, unchanged" << Qt::endl;
        return ExitOk;
    case ConvertResult::Status::Converted:
        m_out << path << ": converted to the current format" << Qt::endl;
        return ExitOk;
    case ConvertResult::Status::Failed:
        break;
    }
    m_err << "orvedit-cli convert: " << path << ": " << r.Error << Qt::endl;
    return ExitFailed;
}

int OrvCli::Render(const QString &projectPath, const RenderOptions &options, const QString &output)
{
    if (output.isEmpty()) {
        m_err << "orvedit-cli render: no output file (-o FILE.png)" << Qt::endl;
        return ExitBadInput;
    }
    if (options.LedSize < 1 || options.LedSize > 6) {
        m_err << "orvedit-cli render: the LED size must be 1..6" << Qt::endl;
        return ExitBadInput;
    }
    BitmapFonts fonts;
    if (!loadBitmapFonts(fonts, m_context, m_err))
        return ExitFailed;
    QString error;
    loadProgramFonts();

    LedMatrix matrix;
    ProjectModel project(&fonts.Font1, &fonts.Font2);
    const IniFile ini(m_context.SettingsPath());
    project.DateTimePattern =
        ini.ReadString(Keys::kSimulation, Keys::kDateTimeFormat, ProgramSettings::kDefaultDateTimeFormat);
    // A missing floor font carried in the project is installed at its place in the
    // order, before anything is drawn with it.
    ProjectApplyOptions applyOptions;
    applyOptions.SelectFloorFont = [this, &project](const QString &name, const FontSection &carried) {
        provideProjectFont(u"render"_s, name, carried);
        project.SetFloorFontName(name);
    };
    const ProjectOpenResult opened = ProjectMapping::OpenProjectFile(project, projectPath, applyOptions);
    if (!opened.Ok) {
        m_err << "orvedit-cli render: " << projectPath << ": " << opened.Error << Qt::endl;
        return ExitBadInput;
    }
    for (const QString &w : opened.Warnings)
        m_err << "orvedit-cli render: " << projectPath << ": " << w << Qt::endl;
    project.TakeOverMonthNames();

    applyEditColors(matrix, EditLedColors::FromText(ini.ReadString(
                                Keys::kGraphicEditor, Keys::kEditLedColor, ProgramSettings::kDefaultEditLedColor)));
    matrix.SetLEDSize(options.LedSize);
    matrix.SetEnaUpdate(true);

    QImage image;
    switch (options.What) {
    case RenderOptions::Page::Special:
        if (options.Row < 1 || options.Row > ProjectModel::SpecialStateCount) {
            m_err << "orvedit-cli render: the special state must be 1..10" << Qt::endl;
            return ExitBadInput;
        }
        image = Preview::RenderSpecialState(project, options.Row, matrix);
        break;
    case RenderOptions::Page::Small:
        image = Preview::RenderSmallFont(project, matrix);
        break;
    case RenderOptions::Page::Floor: {
        if (options.Row < 1 || options.Row > project.FloorCount()) {
            m_err << "orvedit-cli render: the floor row must be 1.." << project.FloorCount() << Qt::endl;
            return ExitBadInput;
        }
        // The row as if selected, with the arrow asked for; region frames on as at start.
        const QSignalBlocker blocker(&project);
        project.SelectFloorRow(options.Row);
        project.SetArrowDown(options.ArrowDown);
        TDisplay *main = project.MainDisplay();
        LedMatrix *previous = main->Matrix;
        main->Matrix = &matrix;
        main->ApplySize();
        main->Clear();
        {
            Preview preview(project);
            preview.PreviewOut(project.ShowRectsButton(), true, true, true, true);
        }
        main->Matrix = previous;
        matrix.Render();
        image = matrix.Paint();
        break;
    }
    }
    // The screen raster's alpha means nothing: the view paints it opaque.
    image = image.convertToFormat(QImage::Format_RGB32);
    if (image.isNull() || !image.save(output, "PNG")) {
        m_err << "orvedit-cli render: cannot write " << output << Qt::endl;
        return ExitFailed;
    }
    m_out << "Wrote " << QDir::toNativeSeparators(output) << " (" << image.width() << " x " << image.height()
          << ")" << Qt::endl;
    return ExitOk;
}

int OrvCli::Generate(const QString &project, const QString &output)
{
    QString written;
    return generate(project, output, &written);
}

int OrvCli::generate(const QString &projectPath, const QString &output, QString *written)
{
    if (!QFileInfo(projectPath).isFile()) {
        m_err << "orvedit-cli generate: Konnte " << projectPath << " nicht öffnen ..." << Qt::endl;
        return ExitBadInput;
    }
    // The stored record is the generator's only input: nothing is saved or fitted first.
    const ProjectReadResult read = ProjectFile::read(projectPath);
    if (!read.ok()) {
        m_err << "orvedit-cli generate: " << projectPath << ": " << read.Error;
        if (!read.Where.isEmpty())
            m_err << " (" << read.Where << ")";
        m_err << Qt::endl;
        return ExitBadInput;
    }
    for (const QString &w : read.Warnings)
        m_err << "orvedit-cli generate: " << projectPath << ": " << w << Qt::endl;

    BitmapFonts fonts;
    if (!loadBitmapFonts(fonts, m_context, m_err))
        return ExitFailed;
    QString error;
    loadProgramFonts();
    provideProjectFont(u"generate"_s, Win1252::toUnicode(read.Contents->Record.FloorFontName), read.Contents->Fonts);

    const ProjectRecord &record = read.Contents->Record;
    const int model = qBound(0, int(record.DisplayModel), 2);
    const IniFile ini(m_context.SettingsPath());

    DisplayGlyphSource glyphs;
    glyphs.SetUserFonts(fonts.ForModel(model), fonts.ForModel(model));
    LfsGenerator gen;
    gen.SetGlyphSource(&glyphs);
    gen.ProjectCopy = record;
    gen.ProgramFolder = m_context.ProgramFolder();
    gen.OutputFileName = output.isEmpty() ? ProposedFlashFileName(projectPath, model) : output;
    gen.FlashSizeData = ini.ReadInteger(Keys::kBinFile, Keys::kFlashSizeData, LfsGenerator::DefaultFlashSizeData);
    gen.FlashSize = ini.ReadInteger(Keys::kBinFile, Keys::kFlashSize, LfsGenerator::DefaultFlashSize);
    gen.Report.SetLineAdded([this](const QString &line) { m_out << line << Qt::endl; });
    const LfsGenerator::Outcome outcome = gen.Run();
    m_out << "Grösse ORV-Daten  in Byte: "
          << (outcome.BinfileSize < 0 ? u"??"_s : QString::number(outcome.BinfileSize)) << Qt::endl;
    m_out << "Grösse ORV-Flash (für Daten) in Byte: " << gen.FlashSizeData << Qt::endl;
    if (!outcome.Success) {
        if (!outcome.MessageBox.isEmpty())
            m_err << "orvedit-cli generate: " << outcome.MessageBox << Qt::endl;
        else
            m_err << "orvedit-cli generate: the flash file was not created" << Qt::endl;
        return ExitFailed;
    }
    if (outcome.WarningBox)
        m_err << "orvedit-cli generate: " << gen.Report.WarningCount() << " warning(s)" << Qt::endl;
    *written = gen.OutputFileName;
    return ExitOk;
}

int OrvCli::Info(const QString &path, bool json)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_err << "orvedit-cli info: " << path << ": " << file.errorString() << Qt::endl;
        return ExitBadInput;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    InfoReport r;
    r.Json[u"file"_s] = path;
    r.Json[u"size"_s] = qint64(bytes.size());
    r.Line(u"File: "_s + path + u" ("_s + QString::number(bytes.size()) + u" bytes)"_s);

    const auto finish = [&]() {
        r.Json[u"damaged"_s] = r.Damaged();
        r.Json[u"problems"_s] = r.Problems();
        if (json)
            m_out << QString::fromUtf8(QJsonDocument(r.Json).toJson(QJsonDocument::Indented));
        else
            for (const QString &l : r.Lines())
                m_out << l << Qt::endl;
        if (r.Damaged() && !json)
            m_err << "orvedit-cli info: " << path << " is damaged" << Qt::endl;
        return r.Damaged() ? ExitFailed : ExitOk;
    };

    LfsFileHeader fh;
    if (!fh.FromBytes(bytes)) {
        r.Problem(u"shorter than the 24-byte file header"_s);
        return finish();
    }
    r.Line(u"File header:"_s);
    r.Line(u"  magic          "_s + hex(fh.Magic, 4));
    r.Line(u"  kind           "_s + hex(fh.Kind, 4));
    r.Line(u"  file length    "_s + QString::number(fh.FileLength));
    r.Line(u"  image length   "_s + QString::number(fh.ImageLength));
    r.Line(u"  format         "_s + hex(fh.Format, 4));
    r.Line(u"  date/time      "_s + hex(fh.DateTime, 8) + u" = "_s + decodedDate(fh.DateTime));
    r.Line(u"  CRC (stated)   "_s + hex(fh.Crc, 4));
    r.Line(u"  trailer        "_s + hex(fh.Trailer, 4));
    r.Json[u"fileHeader"_s] = QJsonObject{
        {u"magic"_s, hex(fh.Magic, 4)},        {u"kind"_s, hex(fh.Kind, 4)},
        {u"fileLength"_s, qint64(fh.FileLength)}, {u"imageLength"_s, qint64(fh.ImageLength)},
        {u"format"_s, hex(fh.Format, 4)},      {u"reserved"_s, int(fh.Reserved)},
        {u"dateTime"_s, dateJson(fh.DateTime)}, {u"crc"_s, hex(fh.Crc, 4)},
        {u"trailer"_s, hex(fh.Trailer, 4)}};
    if (fh.Magic != 0xCCCC || fh.Kind != 0xA501 || fh.Format != 0x1003 || fh.Trailer != 0xFFFE)
        r.Problem(u"the file header's fixed values are wrong (not an LFS file?)"_s);
    if (qint64(fh.FileLength) != bytes.size())
        r.Problem(QStringLiteral("the header states %1 bytes, the file has %2").arg(fh.FileLength).arg(bytes.size()));
    if (qint64(fh.ImageLength) + LfsFileHeader::Size != qint64(fh.FileLength))
        r.Problem(u"image length + 24 differs from the file length"_s);

    // The image: whatever of it the file holds, never beyond the file's end.
    const qint64 imageAvailable = qMin<qint64>(fh.ImageLength, bytes.size() - LfsFileHeader::Size);
    const QByteArray image = bytes.mid(LfsFileHeader::Size, qsizetype(imageAvailable));
    const quint16 crc = Crc16::Arc(image);
    const bool crcOk = imageAvailable == qint64(fh.ImageLength) && crc == fh.Crc;
    r.Line(u"CRC: stated "_s + hex(fh.Crc, 4) + u", computed "_s + hex(crc, 4) + u" over "_s
           + QString::number(image.size()) + u" bytes: "_s + (crcOk ? u"matches"_s : u"MISMATCH"_s));
    r.Json[u"crc"_s] = QJsonObject{{u"stated"_s, hex(fh.Crc, 4)},
                                   {u"computed"_s, hex(crc, 4)},
                                   {u"matches"_s, crcOk}};
    if (!crcOk)
        r.Problem(u"the CRC does not match the image"_s);

    LfsImageHeader ih;
    if (!ih.FromBytes(image)) {
        r.Problem(u"the image is shorter than its 22-byte header"_s);
        return finish();
    }
    r.Line(u"Image header:"_s);
    r.Line(u"  version        "_s + QString::number(ih.Version));
    r.Line(u"  header length  "_s + QString::number(ih.HeaderLength));
    r.Line(u"  flash size     "_s + QString::number(ih.FlashSize));
    r.Line(u"  date/time      "_s + hex(ih.DateTime, 8) + u" = "_s + decodedDate(ih.DateTime));
    r.Json[u"imageHeader"_s] = QJsonObject{{u"version"_s, int(ih.Version)},
                                           {u"headerLength"_s, int(ih.HeaderLength)},
                                           {u"flashSize"_s, qint64(ih.FlashSize)},
                                           {u"dateTime"_s, dateJson(ih.DateTime)}};
    if (ih.Version != 4 || ih.HeaderLength != LfsImageHeader::Size)
        r.Problem(u"the image header's fixed values are wrong"_s);
    if (qint64(ih.FlashSize) + LfsImageHeader::Size != qint64(fh.ImageLength))
        r.Problem(u"the image header's flash size + 22 differs from the image length"_s);

    const bool isStatic = ih.FlashSize == quint32(LfsGenerator::StaticFlashSize);
    r.Json[u"variant"_s] = isStatic ? u"static"_s : u"normal"_s;
    if (isStatic) {
        r.Line(u"Variant: static (logo only: template 1, the encoded logo, template 2; no parameter block)"_s);
        return finish();
    }
    r.Line(u"Variant: normal"_s);

    const qsizetype paramsAt = LfsImageHeader::Size;
    LfsParams p;
    if (!p.FromBytes(image.mid(paramsAt, LfsParams::Size))) {
        r.Problem(u"the image ends inside the parameter block"_s);
        return finish();
    }
    QJsonObject pj;
    const auto field = [&](const QString &name, int offset, qint64 value) {
        r.Line(QStringLiteral("  %1 %2 %3").arg(offset, 3).arg(name, -20).arg(value));
        pj[name] = value;
    };
    r.Line(u"Parameter block (image offset 22, 198 bytes):"_s);
    field(u"Word0"_s, 0, p.Word0);
    field(u"ModelCode"_s, 2, p.ModelCode);
    field(u"Word6"_s, 6, p.Word6);
    for (int off : {15, 17, 33, 34, 35})
        field(u"Byte"_s + QString::number(off), off, p.Byte(off));
    field(u"LargeGlyphBytes"_s, 36, p.LargeGlyphBytes);
    field(u"SmallGlyphBytes"_s, 38, p.SmallGlyphBytes);
    field(u"LargeArrowBytes"_s, 40, p.LargeArrowBytes);
    field(u"SmallArrowBytes"_s, 42, p.SmallArrowBytes);
    field(u"LogoBytes"_s, 44, p.LogoBytes);
    field(u"FloorBitmapBytes"_s, 46, p.FloorBitmapBytes);
    field(u"SpecialBitmapBytes"_s, 48, p.SpecialBitmapBytes);
    field(u"Word50"_s, 50, p.Word50);
    field(u"LargeCellGap"_s, 52, qint8(p.LargeCellGap));
    field(u"SmallCellGap"_s, 53, qint8(p.SmallCellGap));
    field(u"LargeGlyphCount"_s, 56, p.LargeGlyphCount);
    field(u"SmallGlyphCount"_s, 57, p.SmallGlyphCount);
    field(u"LargeArrowCount"_s, 58, p.LargeArrowCount);
    field(u"SmallArrowCount"_s, 59, p.SmallArrowCount);
    field(u"LogoCount"_s, 60, p.LogoCount);
    field(u"FloorBitmapCount"_s, 61, p.FloorBitmapCount);
    field(u"SpecialBitmapCount"_s, 62, p.SpecialBitmapCount);
    for (int off = 63; off < LfsParams::BoxesOffset; ++off)
        if (LfsParams::IsFreeByte(off) && p.Byte(off) != 0)
            field(u"Byte"_s + QString::number(off), off, p.Byte(off));
    QJsonArray boxes;
    for (int k = 0; k < LfsParams::BoxCount; ++k) {
        const LfsBox &b = p.Boxes[size_t(k)];
        r.Line(QStringLiteral("  %1 Box%2 enabled %3 x %4 y %5 w %6 h %7")
                   .arg(LfsParams::BoxesOffset + 6 * k, 3)
                   .arg(k, -2)
                   .arg(b.Enabled)
                   .arg(b.X)
                   .arg(b.Y)
                   .arg(b.Width)
                   .arg(b.Height));
        boxes.append(QJsonObject{{u"enabled"_s, b.Enabled}, {u"x"_s, b.X}, {u"y"_s, b.Y},
                                 {u"width"_s, b.Width}, {u"height"_s, b.Height}});
    }
    pj[u"Boxes"_s] = boxes;
    r.Json[u"params"_s] = pj;
    if (p.Word0 != 125 || p.Word6 != 421 || p.Word50 != 2)
        r.Problem(u"the parameter block's fixed values are wrong"_s);

    // The data section, element by element, each checked against the image's end.
    struct Element
    {
        QString Name;
        qint64 Size;
    };
    const qint64 specialSize = p.SpecialBitmapBytes > 0 ? qint64(p.SpecialBitmapCount) * p.SpecialBitmapBytes : 0;
    const QList<Element> elements = {
        {u"large-font glyphs"_s, qint64(p.LargeGlyphCount) * p.LargeGlyphBytes},
        {u"small-font glyphs"_s, qint64(p.SmallGlyphCount) * p.SmallGlyphBytes},
        {u"arrows"_s, p.LargeArrowCount > 0 ? 2 * qint64(p.LargeArrowBytes) + 2 * qint64(p.SmallArrowBytes) : 0},
        {u"logo"_s, qint64(p.LogoCount) * p.LogoBytes},
        {u"floor bitmaps"_s, qint64(p.FloorBitmapCount) * p.FloorBitmapBytes},
        {u"special-state bitmaps"_s, specialSize},
        {u"two zero bytes"_s, 2},
        {u"floor table"_s, FloorTable::Size},
        {u"state table"_s, StateTable::Size},
    };
    qint64 at = paramsAt + LfsParams::Size;
    QJsonArray ej;
    r.Line(u"Data section (image offset 220):"_s);
    for (const Element &e : elements) {
        r.Line(QStringLiteral("  %1 %2 bytes at image offset %3").arg(e.Name, -22).arg(e.Size, 7).arg(at));
        ej.append(QJsonObject{{u"name"_s, e.Name}, {u"size"_s, e.Size}, {u"offset"_s, at}});
        at += e.Size;
    }
    if (at > image.size()) {
        r.Json[u"dataSection"_s] = ej;
        r.Problem(QStringLiteral("the data section (%1 bytes by the parameter block) runs beyond the image")
                      .arg(at - paramsAt - LfsParams::Size));
        return finish();
    }
    const qint64 floorAt = at - FloorTable::Size - StateTable::Size;
    const qint64 stateAt = at - StateTable::Size;

    // Text table: 23-byte entries up to the closing "Spielwaren" entry.
    QJsonArray texts;
    qint64 textAt = at;
    bool closed = false;
    QStringList textLines;
    for (int i = 0; textAt + TextTable::EntrySize <= image.size() && i < 1024; ++i) {
        const QByteArray entry = image.mid(qsizetype(textAt), TextTable::EntrySize);
        textAt += TextTable::EntrySize;
        const QString t = entryText(entry);
        texts.append(t);
        textLines.append(QStringLiteral("    %1 \"%2\"").arg(i, 3).arg(t));
        if (i > 0 && entry.startsWith("Spielwaren")) {
            closed = true;
            break;
        }
    }
    r.Line(QStringLiteral("  %1 %2 bytes at image offset %3 (%4 entries)")
               .arg(u"text table"_s, -22)
               .arg(textAt - at, 7)
               .arg(at)
               .arg(texts.size()));
    ej.append(QJsonObject{{u"name"_s, u"text table"_s}, {u"size"_s, textAt - at}, {u"offset"_s, at}});
    r.Json[u"dataSection"_s] = ej;
    r.Line(QStringLiteral("  data ends at image offset %1 (parameter block + data: %2 bytes)")
               .arg(textAt)
               .arg(textAt - paramsAt));
    r.Json[u"dataEnd"_s] = textAt;
    if (!closed)
        r.Problem(u"the text table has no closing entry"_s);

    r.Line(u"Floor table (slot: bitmap, first text):"_s);
    QJsonArray floors;
    for (int slot = 0; slot < FloorTable::Slots; ++slot) {
        const quint8 bmp = quint8(image.at(qsizetype(floorAt + 2 * slot)));
        const quint8 txt = quint8(image.at(qsizetype(floorAt + 2 * slot + 1)));
        if (bmp || txt) {
            r.Line(QStringLiteral("    %1: %2, %3").arg(slot, 3).arg(bmp).arg(txt));
            floors.append(QJsonObject{{u"slot"_s, slot}, {u"bitmap"_s, bmp}, {u"text"_s, txt}});
        }
    }
    if (floors.isEmpty())
        r.Line(u"    (all slots empty)"_s);
    r.Json[u"floorTable"_s] = floors;

    QJsonArray states;
    r.Line(u"State table (state: text entry, bitmap kind):"_s);
    for (int k = 1; k <= LfsStates::Count; ++k) {
        const quint8 txt = quint8(image.at(qsizetype(stateAt + k)));
        const quint8 kind = quint8(image.at(qsizetype(stateAt + 1 + LfsStates::Count + k)));
        r.Line(QStringLiteral("    %1: %2, %3").arg(k, 2).arg(txt).arg(kind));
        states.append(QJsonObject{{u"state"_s, k}, {u"text"_s, txt}, {u"bitmap"_s, kind}});
    }
    r.Json[u"stateTable"_s] = states;

    r.Line(u"Text table:"_s);
    for (const QString &l : textLines)
        r.Line(l);
    r.Json[u"textTable"_s] = texts;
    return finish();
}
