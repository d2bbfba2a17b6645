#include "platform/fake/fake_registry.h"

#include <cctype>

#include "lists/app_error.h"

namespace scourly::fake {
namespace {

std::string Lower(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

FakeRegistry::Value* FindValue(FakeRegistry::Key& key, const std::string& name) {
  for (FakeRegistry::Value& v : key.values) {
    if (Lower(v.name) == Lower(name)) return &v;
  }
  return nullptr;
}

class FakeKey : public RegistryKey {
 public:
  FakeKey(FakeRegistry::Key& key, bool writable, int& openKeys)
      : key_(key), writable_(writable && !key.readOnly), openKeys_(openKeys) {
    ++openKeys_;
  }
  ~FakeKey() override { --openKeys_; }

  std::optional<std::string> ReadString(const std::string& name) override {
    FakeRegistry::Value* v = FindValue(key_, name);
    if (!v) return std::nullopt;
    if (!v->text) throw AppError(InvalidDataTypeText(name));
    return v->data;
  }

  void WriteString(const std::string& name, const std::string& text) override {
    if (!writable_) throw AppError(FailedToSetDataText(name));
    if (FakeRegistry::Value* v = FindValue(key_, name)) {
      v->data = text;
      v->text = true;
    } else {
      key_.values.push_back({name, text, true});
    }
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    for (const FakeRegistry::Value& v : key_.values) names.push_back(v.name);
    return names;
  }

  bool DeleteValue(const std::string& name) override {
    if (!writable_) return false;
    for (auto it = key_.values.begin(); it != key_.values.end(); ++it) {
      if (Lower(it->name) == Lower(name)) {
        key_.values.erase(it);
        return true;
      }
    }
    return false;
  }

 private:
  FakeRegistry::Key& key_;
  bool writable_;
  int& openKeys_;
};

}  // namespace

std::string FakeRegistry::KeyName(RegistryRoot root, const std::string& path) {
  size_t start = 0, end = path.size();
  while (start < end && path[start] == '\\') ++start;
  while (end > start && path[end - 1] == '\\') --end;
  return (root == RegistryRoot::kCurrentUser ? "hkcu\\" : "hklm\\") +
         Lower(path.substr(start, end - start));
}

FakeRegistry::Key& FakeRegistry::AddKey(RegistryRoot root, const std::string& path) {
  return keys_[KeyName(root, path)];
}

void FakeRegistry::SetString(RegistryRoot root, const std::string& path, const std::string& name,
                             const std::string& data) {
  Key& key = AddKey(root, path);
  if (Value* v = FindValue(key, name)) *v = {v->name, data, true};
  else key.values.push_back({name, data, true});
}

void FakeRegistry::SetBinary(RegistryRoot root, const std::string& path, const std::string& name,
                             const std::string& bytes) {
  Key& key = AddKey(root, path);
  if (Value* v = FindValue(key, name)) *v = {v->name, bytes, false};
  else key.values.push_back({name, bytes, false});
}

FakeRegistry::Key* FakeRegistry::FindKey(RegistryRoot root, const std::string& path) {
  auto it = keys_.find(KeyName(root, path));
  return it == keys_.end() ? nullptr : &it->second;
}

std::vector<std::string> FakeRegistry::Names(RegistryRoot root, const std::string& path) {
  std::vector<std::string> names;
  if (Key* key = FindKey(root, path)) {
    for (const Value& v : key->values) names.push_back(v.name);
  }
  return names;
}

std::optional<std::string> FakeRegistry::Text(RegistryRoot root, const std::string& path,
                                              const std::string& name) {
  Key* key = FindKey(root, path);
  if (!key) return std::nullopt;
  Value* v = FindValue(*key, name);
  if (!v || !v->text) return std::nullopt;
  return v->data;
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenKey(RegistryRoot root, const std::string& path,
                                                   KeyAccess access) {
  Key* key = FindKey(root, path);
  if (!key || key->unopenable) return nullptr;
  return std::make_unique<FakeKey>(*key, access == KeyAccess::kReadWrite, openKeys);
}

std::unique_ptr<RegistryKey> FakeRegistry::CreateKey(RegistryRoot root, const std::string& path) {
  if (createFails) return nullptr;
  Key& key = AddKey(root, path);
  if (key.unopenable) return nullptr;
  return std::make_unique<FakeKey>(key, true, openKeys);
}

}  // namespace scourly::fake
