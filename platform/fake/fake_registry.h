// An in-memory registry: keys by root and path (case ignored), each with its
// values in the order they were made. Keys can refuse to open or to change.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace scourly::fake {

class FakeRegistry : public Registry {
 public:
  struct Value {
    std::string name;
    std::string data;
    bool text = true;  // false: a binary or number value
  };
  struct Key {
    std::vector<Value> values;
    bool unopenable = false;  // exists, but opening it fails (no access)
    bool readOnly = false;    // opens, but nothing in it can be changed
  };

  // ---- Building and reading the registry ----
  Key& AddKey(RegistryRoot root, const std::string& path);
  void SetString(RegistryRoot root, const std::string& path, const std::string& name,
                 const std::string& data);
  void SetBinary(RegistryRoot root, const std::string& path, const std::string& name,
                 const std::string& bytes);
  Key* FindKey(RegistryRoot root, const std::string& path);
  // Value names of a key, in order; empty when the key is missing.
  std::vector<std::string> Names(RegistryRoot root, const std::string& path);
  std::optional<std::string> Text(RegistryRoot root, const std::string& path,
                                  const std::string& name);

  bool createFails = false;  // CreateKey can neither open nor create
  int openKeys = 0;          // keys handed out and not yet closed

  // ---- Registry ----
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, const std::string& path,
                                       KeyAccess access) override;
  std::unique_ptr<RegistryKey> CreateKey(RegistryRoot root, const std::string& path) override;

 private:
  static std::string KeyName(RegistryRoot root, const std::string& path);
  std::map<std::string, Key> keys_;
};

}  // namespace scourly::fake
