// The registry: keys opened with or without creating them, string values
// read and written, value names listed, values deleted. Texts are UTF-8.
// Failures the program reports are raised as AppError with the registry's
// own texts.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace scourly {

enum class RegistryRoot { kCurrentUser, kLocalMachine };

// What an opened key may do: reading only, or reading and changing values.
enum class KeyAccess { kRead, kReadWrite };

// An open key. Destroying it closes it.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // The text of value `name`; nothing when the key has no such value. A value
  // that is not text raises AppError "Invalid data type for 'NAME'".
  virtual std::optional<std::string> ReadString(const std::string& name) = 0;

  // Stores `text` as the string value `name`. A failure raises AppError
  // "Failed to set data for 'NAME'".
  virtual void WriteString(const std::string& name, const std::string& text) = 0;

  // The names of all values, in the order the registry enumerates them.
  virtual std::vector<std::string> ValueNames() = 0;

  // Deletes value `name`; false when it is not there or cannot be deleted.
  virtual bool DeleteValue(const std::string& name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens an existing key; nothing when it is missing or cannot be opened
  // with `access`. A leading backslash in `path` is allowed and ignored.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& path,
                                               KeyAccess access) = 0;

  // Opens a key for reading and writing, creating it (and its parents) when
  // missing; nothing when it can be neither opened nor created.
  virtual std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& path) = 0;
};

// The registry's error texts.
inline std::string InvalidDataTypeText(const std::string& valueName) {
  return "Invalid data type for '" + valueName + "'";
}
inline std::string FailedToSetDataText(const std::string& valueName) {
  return "Failed to set data for '" + valueName + "'";
}

}  // namespace scourly
