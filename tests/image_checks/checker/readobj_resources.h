// llvm-readobj run on a file, and the resources in what it prints: the
// resource tree of an executable, or the entries of a compiled resource
// script (.res). This program's reader for the shared resource checks.
#pragma once

#include <string>
#include <vector>

#include "readobj_output.h"
#include "resource_reader.h"

// llvm-readobj with `options` on `file`, its output read back as a tree;
// false (with the reason) when it fails or prints what cannot be read.
bool ReadobjTree(const std::vector<std::string>& options, const std::string& file, readobj::Block& root,
                 std::string& error);

// The resources that llvm-readobj --coff-resources lists.
bool ImageResources(const readobj::Block& root, std::vector<reader::Resource>& resources, std::string& error);

// The entries of a .res file, as llvm-readobj prints them when given one.
bool CompiledScriptResources(const std::string& path, std::vector<reader::Resource>& resources, std::string& error);
