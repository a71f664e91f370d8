#pragma once
// Project files (.lmx): the version that wrote them, the slides and the show
// settings in a little-endian binary form. Older versions are read with the
// defaults of the fields they lack; newer ones are refused.

#include <string>
#include <string_view>

namespace lumetra {

class Application;

// Writes the project to path through a temporary file beside it, so a failed
// save leaves the previous file intact. Throws std::system_error on failure
// (ProjectFileName, title and Modified then stay as they were).
void SaveProject(Application& app, const std::string& path);

enum class LoadResult { Loaded, TooNew, ReadError };

// Replaces the project by the one in path. A file that cannot be opened
// throws std::system_error, leaving a new project; a newer or damaged file is
// reported to the user (PrjTooNew, PrjLoadErr) and also leaves a new project.
LoadResult LoadProject(Application& app, const std::string& path);

// LoadProject on bytes already read from path (path names the file in messages).
LoadResult LoadProjectData(Application& app, const std::string& path, std::string_view bytes);

// Bytes of the project as SaveProject writes them.
std::string SerializeProject(Application& app);

}  // namespace lumetra
