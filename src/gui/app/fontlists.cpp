// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fontlists.h"

#include "app/fontitemdelegate.h"
#include "project/projectfile.h"

#include <QListWidget>
#include <QSignalBlocker>
#include <QTabWidget>

#include <algorithm>

TFontLists::TFontLists(const QString &fontsFolder, FontServices *services, QObject *parent)
    : QObject(parent), m_fonts(fontsFolder, services)
{
}

void TFontLists::SetWidgets(QListWidget *lbFont, QListWidget *lbFont2, QTabWidget *pageControl,
                            QWidget *tabSheetWinFont, QWidget *tabSheetOtherFont)
{
    m_lbFont = lbFont;
    m_lbFont2 = lbFont2;
    m_pageControl = pageControl;
    m_tabWin = tabSheetWinFont;
    m_tabOther = tabSheetOtherFont;
    for (QListWidget *list : {m_lbFont, m_lbFont2}) {
        if (!list)
            continue;
        list->setItemDelegate(new TFontItemDelegate(list));
        list->setUniformItemSizes(true);
        // The order is the one RebuildFontLists gives: installed families sorted
        // without regard to letter case, the folder's families as they were added.
        list->setSortingEnabled(false);
    }
}

int TFontLists::FindFamily(const QListWidget *list, const QString &family)
{
    if (!list)
        return -1;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().compare(family, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TFontLists::RebuildFontLists()
{
    // The installed families are taken before the folder's fonts are added again:
    // those added earlier are recognised by name and left to the second list.
    rebuild(m_fonts.AddFolderFonts());
}

void TFontLists::rebuild(const ProgramFonts::ScanResult &scan)
{
    QList<FontServices::Family> installed = m_fonts.Services().InstalledFamilies();
    const auto fromFolder = [&scan](const QString &name) {
        return scan.Families.contains(name, Qt::CaseInsensitive)
            || scan.DatabaseFamilies.contains(name, Qt::CaseInsensitive);
    };
    installed.erase(std::remove_if(installed.begin(), installed.end(),
                                   [&fromFolder](const FontServices::Family &f) { return fromFolder(f.Name); }),
                    installed.end());
    std::stable_sort(installed.begin(), installed.end(), [](const FontServices::Family &a, const FontServices::Family &b) {
        const int c = a.Name.compare(b.Name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.Name < b.Name;
    });

    const auto fill = [](QListWidget *list, const QList<FontServices::Family> &families) {
        if (!list)
            return;
        const QSignalBlocker blocker(list);
        const int selected = qMax(0, list->currentRow());
        list->clear();
        for (const FontServices::Family &f : families) {
            if (FindFamily(list, f.Name) >= 0)
                continue;
            auto *item = new QListWidgetItem(f.Name, list);
            item->setData(TFontItemDelegate::TrueTypeRole, f.TrueType);
        }
        if (list->count() > selected)
            list->setCurrentRow(selected);
    };
    fill(m_lbFont, installed);
    QList<FontServices::Family> other;
    for (const QString &name : scan.Families)
        other.append(FontServices::Family{name, true});
    fill(m_lbFont2, other);
}

void TFontLists::message(const QString &text)
{
    if (ShowMessage)
        ShowMessage(text);
}

void TFontLists::activate(QWidget *page)
{
    if (m_pageControl && page)
        m_pageControl->setCurrentWidget(page);
}

TFontLists::Selection TFontLists::SelectProjectFont(const QString &family, const FontSection &fonts)
{
    const QString named = tr("Der Font: ") + u'"' + family + u'"';
    const int inWin = FindFamily(m_lbFont, family);
    const int inOther = FindFamily(m_lbFont2, family);
    if (inWin >= 0 || inOther >= 0) {
        if (inWin >= 0) {
            m_lbFont->setCurrentRow(inWin);
            activate(m_tabWin);
        }
        if (inOther >= 0) {
            m_lbFont2->setCurrentRow(inOther);
            activate(m_tabOther);
        }
        if (LBFontClick)
            LBFontClick();
        return Selection::Listed;
    }
    if (fonts.Files.isEmpty()) {
        QString text = named + tr(" ist auf diesem PC nicht vorhanden ...");
        // A font section the reader had to refuse is named, so that the user knows
        // the project did carry the font.
        if (!fonts.Refused.isEmpty())
            text += u'\n' + tr("Eingebettete Fonts werden nicht verwendet: %1").arg(fonts.Refused);
        message(text);
        return Selection::NotAvailable;
    }

    ProgramFonts::ScanResult scan;
    QString error;
    const bool extracted = m_fonts.InstallEmbedded(fonts, &scan, &error);
    rebuild(scan);
    const int added = FindFamily(m_lbFont2, family);
    // Listed is not enough: the font database must really offer the family now.
    if (extracted && added >= 0 && m_fonts.Services().IsAvailable(family)) {
        activate(m_tabOther);
        m_lbFont2->setCurrentRow(added);
        if (LBFontClick)
            LBFontClick();
        message(named + tr(" wurde erfolgreich hinzugefügt."));
        return Selection::Installed;
    }
    QString text = named + tr(" konnte nicht installiert werden");
    if (!error.isEmpty())
        text += u'\n' + error;
    message(text);
    return Selection::NotInstalled;
}
