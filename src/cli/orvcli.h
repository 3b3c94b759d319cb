// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/appcontext.h"
#include "project/programfonts.h"

#include <QString>
#include <QTextStream>

/// The commands of orvedit-cli; each returns the process exit code: 0 success,
/// 1 the command ran and failed (a failed generation, a damaged flash file),
/// 2 bad arguments or unreadable input. Output goes to \a out, errors to \a err.
class OrvCli
{
public:
    static constexpr int ExitOk = 0;
    static constexpr int ExitFailed = 1;
    static constexpr int ExitBadInput = 2;

    OrvCli(const AppContext &context, QTextStream &out, QTextStream &err);

    /// The nine layouts with their regions.
    int Layouts();
    /// The headless demonstration: a new LCD project in the "project" folder beside
    /// the program and its flash file.
    int Demo();

    /// A new project from the template, as the editor's new-project action makes it,
    /// saved to \a output. \a model is "vfd128", "lcd240" or "vfd256".
    int New(const QString &model, bool upright, int floors, const QString &output);
    /// Converts an older-format project file in place.
    int Convert(const QString &path);

    struct RenderOptions
    {
        enum class Page { Floor, Special, Small };
        Page What = Page::Floor;
        int Row = 1;          ///< floor row or special state
        bool ArrowDown = false;
        int LedSize = 1;
    };
    /// The preview of a floor row, a special state or the small-font page as a PNG.
    int Render(const QString &project, const RenderOptions &options, const QString &output);
    /// Generates the flash file of a stored project; \a output empty for the proposed name.
    int Generate(const QString &project, const QString &output);
    /// Reads a flash file back and checks it.
    int Info(const QString &path, bool json);

    /// The flash file name the editor proposes for a project: the model prefix in front
    /// of the project's name, extension ".lfs", in the project's folder.
    static QString ProposedFlashFileName(const QString &projectPath, int displayModel);
    /// "vfd128", "lcd240", "vfd256" as the stored model number; -1 for anything else.
    static int ModelFromName(const QString &name);

private:
    bool loadProgramFonts();
    /// Makes \a family available when it is missing and the project carries its
    /// files: they are extracted into the fonts folder and added, as the editor does.
    void provideProjectFont(const QString &command, const QString &family, const FontSection &fonts);
    int newProject(const QString &model, bool upright, int floors, const QString &output, bool quiet);
    int generate(const QString &project, const QString &output, QString *written);

    AppContext m_context;
    ProgramFonts m_programFonts;
    QTextStream &m_out;
    QTextStream &m_err;
};
