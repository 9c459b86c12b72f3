// Progress of the extraction and the end of a complete installation.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace installer {

// The bar's position for a report: maximum / 100.0 * percent in double
// precision, the division first, truncated toward zero to 64 bits, of which
// the low 32 bits are taken.
std::int32_t BarPosition(std::int32_t maximum, std::int32_t percent);

// The product's executable: install directory + "\\" + product name + ".exe".
rt::Text ProductExecutable(const rt::Text& install_dir, const rt::Text& product_name);

// The progress event of ZIP压缩1, on the installation thread: moves 进度条1.
// At the final 100 of an extraction that succeeded it completes the
// installation (completion picture, desktop shortcut, the question, the
// product started on Yes, the bar hidden, this installation's archive
// deleted) and ends the installer; it does not return then. A failed
// extraction is left to the installation thread, to which Extract returns.
void OnExtractProgress(std::int32_t percent);

}  // namespace installer
