#include "readobj_resources.h"

#include <cstdlib>

#include "checker_options.h"
#include "run_command.h"

namespace {

bool RunReadobj(const std::vector<std::string>& options, const std::string& file, std::string& output,
                std::string& error)
{
    std::vector<std::string> command{Options().llvmReadobj};
    command.insert(command.end(), options.begin(), options.end());
    command.push_back(file);
    const CommandResult result = RunCommand(command);
    if (result.exitCode != 0) {
        error = CommandText(command) + " failed (exit code " + std::to_string(result.exitCode) + ")";
        return false;
    }
    output = result.output;
    return true;
}

// "Type: ICON (ID 3)" or "Name: (ID 1)" gives an id; "Name: QODEX" a name.
void SplitIdOrName(const std::string& head, const std::string& label, uint16_t& id, std::string& name)
{
    const long number = readobj::IdOf(head);
    if (number >= 0) {
        id = static_cast<uint16_t>(number);
        name.clear();
    } else {
        id = 0;
        name = head.substr(label.size());
    }
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

bool ReadobjTree(const std::vector<std::string>& options, const std::string& file, readobj::Block& root,
                 std::string& error)
{
    std::string output;
    if (!RunReadobj(options, file, output, error)) {
        return false;
    }
    if (!readobj::Parse(output, root)) {
        error = "the llvm-readobj output for " + file + " does not pair its brackets";
        return false;
    }
    return true;
}

bool ImageResources(const readobj::Block& root, std::vector<reader::Resource>& resources, std::string& error)
{
    const readobj::Block* table = root.Child("Resources");
    if (table == nullptr) {
        error = "llvm-readobj printed no resource table";
        return false;
    }
    resources.clear();
    for (const readobj::Block* type : table->ChildrenStartingWith("Type: ")) {
        for (const readobj::Block* name : type->ChildrenStartingWith("Name: ")) {
            for (const readobj::Block* language : name->ChildrenStartingWith("Language: ")) {
                reader::Resource resource{};
                SplitIdOrName(type->head, "Type: ", resource.key.typeId, resource.key.typeName);
                SplitIdOrName(name->head, "Name: ", resource.key.nameId, resource.key.name);
                resource.key.language = static_cast<uint16_t>(readobj::IdOf(language->head));
                const readobj::Block* entry = language->Child("Data");
                const readobj::Block* dump = entry == nullptr ? nullptr : entry->Child("Data");
                if (dump == nullptr || !readobj::HexDumpBytes(dump->lines, resource.data)) {
                    error = "no readable data dump for " + expected::Describe(resource.key);
                    return false;
                }
                resources.push_back(resource);
            }
        }
    }
    return true;
}

// Each entry is a run of "key: value" lines that starts with its type,
// then a "Data: (" block of hex lines:
//   Resource type (int): DIALOG (ID 5)
//   Resource name (string): QODEXDECODER
//   ...
//   Language ID: 1033
//   Data: (
//     0000: 0100FFFF ...  |....|
//   )
bool CompiledScriptResources(const std::string& path, std::vector<reader::Resource>& resources, std::string& error)
{
    std::string output;
    if (!RunReadobj({}, path, output, error)) {
        return false;
    }
    const std::string typeId = "Resource type (int): ";
    const std::string typeName = "Resource type (string): ";
    const std::string nameId = "Resource name (int): ";
    const std::string nameText = "Resource name (string): ";
    const std::string language = "Language ID: ";
    resources.clear();
    const std::vector<std::string> lines = readobj::TrimmedLines(output);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (StartsWith(line, typeId) || StartsWith(line, typeName)) {
            resources.emplace_back();
            expected::ResourceKey& key = resources.back().key;
            if (StartsWith(line, typeName)) {
                key.typeName = line.substr(typeName.size());
            } else {
                key.typeId = static_cast<uint16_t>(readobj::IdOf(line));
            }
            continue;
        }
        if (resources.empty()) {
            continue;
        }
        expected::ResourceKey& key = resources.back().key;
        if (StartsWith(line, nameId)) {
            key.nameId = static_cast<uint16_t>(std::strtoul(line.c_str() + nameId.size(), nullptr, 10));
        } else if (StartsWith(line, nameText)) {
            key.name = line.substr(nameText.size());
        } else if (StartsWith(line, language)) {
            key.language = static_cast<uint16_t>(std::strtoul(line.c_str() + language.size(), nullptr, 10));
        } else if (line == "Data: (") {
            std::vector<std::string> dump;
            for (++i; i < lines.size() && lines[i] != ")"; ++i) {
                dump.push_back(lines[i]);
            }
            if (i == lines.size() || !readobj::HexDumpBytes(dump, resources.back().data)) {
                error = "no readable data dump for " + expected::Describe(key);
                return false;
            }
        }
    }
    return true;
}

namespace reader {

std::vector<Resource> ReadQodexResources(std::string& error)
{
    readobj::Block root;
    std::vector<Resource> resources;
    if (!ReadobjTree({"--coff-resources"}, Options().qodex, root, error) || !ImageResources(root, resources, error)) {
        return {};
    }
    return resources;
}

}  // namespace reader
