#pragma once
// Entry names as the installer's archive stores them: the host's UTF-8 path
// turned into GBK bytes (the installer's code page), "/" between levels.
#include <cstdint>
#include <string>
#include <vector>

namespace packer {

// The name's GBK bytes. Throws std::runtime_error naming the path when a
// character has no GBK form.
std::string ToGbk(const std::string& utf8);

// Throws std::runtime_error when a path element could not be extracted on
// Windows as it stands: empty, "." or "..", a character Windows forbids in
// names (\ / : * ? " < > | and control characters), a trailing dot or space,
// or a device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, also with an
// extension). The installer's extractor refuses such names, so the packer
// refuses them first.
void CheckPathElement(const std::string& element, const std::string& path);

// The Unicode-path extra block (ID 0x7075): version 1, the CRC-32 of the
// stored name, the UTF-8 name. Lets tools in other code pages show the name.
std::vector<unsigned char> UnicodePathExtra(const std::string& stored_name,
                                            const std::string& utf8_name);

}  // namespace packer
