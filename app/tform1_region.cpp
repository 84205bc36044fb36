// SPDX-License-Identifier: GPL-3.0-or-later
// The region of the prefill tab's buttons: the visible one, an area file's or a box in
// degrees, its estimate and its outline over the view.
#include "app/tform1.h"

#include "app/open_file_dialog.h"
#include "app/region_outline.h"
#include "batch/jobs/region_choice.h"
#include "gis/area_file.h"
#include "sources/source_cache_folder.h"
#include "tiles/decimal_text.h"

namespace {

enum RegionIndex { kVisible, kFile, kBox };

} // namespace

void TForm1::ConnectRegionChoice() {
    connect(RegionBox, &QComboBox::currentIndexChanged, this, [this] { RegionBoxSelect(); });
    connect(RegionFileButton, &QToolButton::clicked, this, [this] { RegionFileClick(); });
    connect(RegionEdit, &QLineEdit::textEdited, this, [this] { RegionChoiceChange(); });
    connect(LevelsEdit, &QLineEdit::textChanged, this, [this] { RegionChoiceChange(); });
    connect(BufferUpDown, &QSpinBox::valueChanged, this, [this] {
        if (fileRegion_ || !fileRegionError_.isEmpty())
            RegionFileRead(RegionEdit->text());
    });
}

void TForm1::RegionBoxSelect() {
    const int index = RegionBox->currentIndex();
    for (QWidget* part : TabSheet3->findChildren<QWidget*>(QString::fromLatin1(kRegionPart)))
        part->setVisible(index != kVisible);
    Label11->setVisible(index == kVisible);
    RegionFileButton->setEnabled(index == kFile);
    BufferUpDown->setEnabled(index == kFile);
    RegionEdit->setReadOnly(index == kFile);
    RegionEdit->setPlaceholderText(index == kFile ? tr("файл GPX, KML, KMZ, GeoJSON, SHP, GPKG")
                                                  : tr("запад,юг,восток,север"));
    RegionEdit->setText(index == kFile && (fileRegion_ || !fileRegionError_.isEmpty())
                            ? lastRegionFile_
                            : QString());
    // The region chosen shows over the map until the user switches it off.
    {
        const QSignalBlocker quiet(RegionCheck);
        RegionCheck->setChecked(index != kVisible);
        RegionCheck->setEnabled(index != kVisible);
    }
    RegionChoiceChange();
    Edit3Change();
}

void TForm1::RegionFileClick() {
    if (const std::optional<QString> path = AskFileToOpen(
            this, tr("Область"), lastRegionFile_,
            tr("Области (*.gpx *.kml *.kmz *.geojson *.json *.shp *.gpkg);;Все файлы (*)")))
        RegionFileRead(*path);
}

void TForm1::RegionFileRead(const QString& path) {
    lastRegionFile_ = path;
    RegionEdit->setText(path);
    const AreaFile area = ReadAreaFile(path, BufferUpDown->value());
    fileRegionError_ = area.error;
    fileRegion_.reset();
    if (area.error.isEmpty())
        fileRegion_ = GeoRegion(area.polygons);
    RegionChoiceChange();
}

std::optional<RegionLevels> TForm1::ChosenRegion(QString* why) const {
    const int index = RegionBox->currentIndex();
    std::optional<GeoRegion> region;
    if (index == kFile) {
        region = fileRegion_;
        *why = fileRegion_                  ? QString()
               : fileRegionError_.isEmpty() ? tr("Выберите файл области кнопкой «…».")
                                            : fileRegionError_;
    } else if (index == kBox) {
        if (const std::optional<std::array<double, 4>> box = BoxOfText(RegionEdit->text()))
            region = GeoRegion::Box((*box)[0], (*box)[1], (*box)[2], (*box)[3]);
        else
            *why = tr("Рамка: запад, юг, восток и север в градусах через запятую, юг меньше "
                      "севера.");
    } else if (blockSize_ != BlockSize{}) {
        // A window larger than at start shows more than the view's four tiles: all of it.
        region = BlockRegion(CurrentViewRefs().Letters()[0], blockSize_);
    }
    if (!region)
        return std::nullopt;
    const int depth = ParseIntOr(Edit3->text(), 0);
    std::optional<LevelRange> levels = LevelRange{depth, depth};
    if (!LevelsEdit->text().trimmed().isEmpty())
        levels = LevelsOfText(LevelsEdit->text());
    if (!levels) {
        *why = tr("Уровни: «A-B», A не больше B.");
        return std::nullopt;
    }
    const RegionLevels chosen{*region, levels->first, levels->last};
    if (const std::optional<QString> refusal = RegionLevelsRefusal(CurrentSource(), chosen)) {
        *why = *refusal;
        return std::nullopt;
    }
    return chosen;
}

void TForm1::RegionChoiceChange() {
    const bool visible = RegionBox->currentIndex() == kVisible;
    if (visible && blockSize_ == BlockSize{}) {
        Outline->Show(std::nullopt, {});
        return;
    }
    QString why;
    const std::optional<RegionLevels> chosen = ChosenRegion(&why);
    Label13->setText(
        chosen ? RegionEstimateText(*chosen, SourceCacheFolder(cacheRoot, CurrentSource())) : why);
    Button6->setEnabled(chosen.has_value());
    Button7->setEnabled(chosen.has_value());
    const std::optional<TileKey> anchor = ViewAnchorKey();
    const bool shown = chosen && anchor && !visible && LayerOn(RegionCheck);
    Outline->Show(shown ? std::optional(chosen->region) : std::nullopt, anchor.value_or(TileKey{}));
    StackOverlays();
}
