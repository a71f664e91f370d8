#pragma once
// The window's artwork: our SVG files in data/gui/, rendered at the size a
// control shows them and at the screen's device pixel ratio, so they stay
// sharp at 1x, 1.5x and 2x. Rendered pictures are kept for reuse.

#include <QPixmap>
#include <QSize>
#include <QString>
#include <filesystem>

namespace lumetra::ui {

// The folder of the SVG files (data/gui beside the program); set at start-up.
void SetArtworkFolder(const std::filesystem::path& folder);
const std::filesystem::path& ArtworkFolder();

// The picture `name` (file name without ".svg") at size device-independent
// pixels; a null pixmap when the file is missing.
QPixmap Artwork(const QString& name, QSize size, qreal devicePixelRatio);

// The same picture greyed and faded, for a disabled control.
QPixmap DisabledArtwork(const QString& name, QSize size, qreal devicePixelRatio);

}  // namespace lumetra::ui
