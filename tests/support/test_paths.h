#pragma once
#include <string>

namespace pistavox::test {

// The project's source tree (data/ and the like).
std::string SourcePath(const std::string& relative);
// Real-world data beside the project (../shared/data); tests skip when it is absent.
std::string SharedDataPath(const std::string& file_name);
bool FileExists(const std::string& path);

}  // namespace pistavox::test
