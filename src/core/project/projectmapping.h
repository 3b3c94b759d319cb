// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "project/projectfile.h"
#include "project/projectrecord.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class ProjectModel;
class TDisplayRect;
class TDisplay;

/// How a record is applied.
struct ProjectApplyOptions
{
    /// Reading a new-project template: the dialog's choices replace the template's
    /// FloorCount, DisplayModel and VerticalMounting.
    bool Template = false;
    int TemplateFloorCount = 4;
    int TemplateDisplayModel = 0;
    bool TemplateVertical = false;
    /// Selects the floor-text font by its stored name, at its place in the order
    /// (after the regions, before bold and italic). Without it the name is set on
    /// the model as it is.
    std::function<void(const QString &fontName)> SelectFont;
    /// The same with the file's embedded font files at hand, for installing them when
    /// the family is missing. Used by OpenProjectFile in place of SelectFont.
    std::function<void(const QString &fontName, const FontSection &fonts)> SelectFloorFont;
};

/// What opening a file did.
struct ProjectOpenResult
{
    bool Ok = false;
    QString Error;
    QString Where;
    /// Conversion and read warnings; the project was applied all the same.
    QStringList Warnings;
    /// The embedded font files, for the font handling that follows.
    FontSection Fonts;
};

/// Moves a project between the in-memory ProjectModel and the stored ProjectRecord.
class ProjectMapping
{
public:
    /// Applies a record that was read and checked (ProjectFile::read) to the model, in
    /// the order the stored region flags rely on: the option setters first (they change
    /// region Active flags), the stored regions after them; then font, texts, bitmaps,
    /// month names, display model and mounting. Previews are off (ProjectOpen cleared)
    /// while it runs and on again at the end.
    static void ApplyRecord(ProjectModel &model, const ProjectRecord &record,
                            const ProjectApplyOptions &options = ProjectApplyOptions());

    /// The record of the model's project, as saving stores it (FormatMark 1). Floor,
    /// arrow, small-arrow and logo bitmaps are fitted to their regions first
    /// (StoreBitmapRecord), which changes them in the model too. Anything that could not
    /// be stored as it is adds a line to \a warnings.
    static ProjectRecord FillRecord(ProjectModel &model, QStringList *warnings = nullptr);

    /// The converted (or untouched current-format) file is read completely and checked
    /// before anything reaches the model: on an error the model is unchanged.
    /// A conversion that fails while the file can still be read is reported as a
    /// warning.
    static ProjectOpenResult OpenProjectFile(ProjectModel &model, const QString &path,
                                      const ProjectApplyOptions &options = ProjectApplyOptions());

    /// Saves the model's project (FillRecord and ProjectFile::write); \a fonts are
    /// embedded when they hold files.
    static bool SaveProjectFile(ProjectModel &model, const QString &path, const FontSection &fonts,
                                QString *error, QStringList *warnings = nullptr);

    /// The region's rectangle and Active flag; a zero record for a missing region.
    static RegionRecord StoreRegion(const TDisplay *layout, const QString &name);
    /// The bitmap of a slot, first fitted to the region's size: a bitmap of another
    /// size is replaced in the slot by one of exactly the region's size holding the old
    /// one unscaled at the top left (cut off beyond, unlit where it does not reach).
    static BitmapRecord StoreBitmapRecord(TDisplayRect *region, int slot, QStringList *warnings = nullptr);
};
