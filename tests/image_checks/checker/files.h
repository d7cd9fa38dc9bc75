// Whole files in and out, and scratch files that clean up after themselves.
#pragma once

#include <string>

#include "byte_layout.h"

bool ReadFileBytes(const std::string& path, expected::Bytes& bytes);
bool WriteFileBytes(const std::string& path, const expected::Bytes& bytes);

// A file in a directory of its own under $TMPDIR (or /tmp), so that checks
// run side by side never share one; the file and its directory go when this
// does.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& name);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    // Empty when no directory could be made.
    const std::string& Path() const { return path_; }

private:
    std::string directory_;
    std::string path_;
};
