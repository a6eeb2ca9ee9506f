// The library's entry points for hosts that load it at run time: the class
// factory, the unload test, registration, and the resource readers.
#include "pphatch/plugin.h"

#include <dlfcn.h>

#include <any>
#include <atomic>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string_view>

#include "component/bitmaps.h"
#include "component/registry.h"
#include "component/string_table.h"
#include "pphatch/pick_point_hatch.h"

namespace pphatch {
namespace {

/// Objects and factories alive, plus server locks; the library may be
/// unloaded only when this is zero.
std::atomic<int> liveCount{0};

class PickPointHatchObject final : public IPickPointHatch {
 public:
  PickPointHatchObject() { ++liveCount; }
  bool Init(const HostViewPtr& pwView) override { return hatch_.Init(pwView); }
  bool CreateClosedContour(double xView, double yView, HostGraphicPtr& resultGraphic,
                           std::string& errorString) override {
    std::any reserved;
    return hatch_.CreateClosedContour(xView, yView, resultGraphic, errorString, reserved);
  }
  void Release() override { delete this; }
  double GapTolerance() override { return hatch_.GapTolerance(); }
  int32_t SetGapTolerance(double gap) override {
    return Set([&] { hatch_.SetGapTolerance(gap); });
  }
  double DiagnosisReach() override { return hatch_.DiagnosisReach(); }
  int32_t SetDiagnosisReach(double reach) override {
    return Set([&] { hatch_.SetDiagnosisReach(reach); });
  }
  const PickDiagnosis& Diagnosis() override { return hatch_.Diagnosis(); }

 private:
  // Runs a setter; a rejected value is an invalid argument.
  template <class Setter>
  static int32_t Set(Setter setter) {
    try {
      setter();
      return kPluginOk;
    } catch (const std::invalid_argument&) {
      return kPluginInvalidArgument;
    }
  }
  ~PickPointHatchObject() override { --liveCount; }
  PickPointHatch hatch_;
};

class PickPointHatchFactory final : public IClassFactory {
 public:
  PickPointHatchFactory() { ++liveCount; }
  int32_t CreateInstance(IPickPointHatch** object) override {
    if (!object) return kPluginInvalidArgument;
    try {
      *object = new PickPointHatchObject();
      return kPluginOk;
    } catch (const std::exception&) {
      *object = nullptr;
      return kPluginFailure;
    }
  }
  int32_t LockServer(bool lock) override {
    liveCount += lock ? 1 : -1;
    return kPluginOk;
  }
  void Release() override { delete this; }

 private:
  ~PickPointHatchFactory() override { --liveCount; }
};

/// Path of the file this code was loaded from.
std::string OwnLibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&DllCanUnloadNow), &info) && info.dli_fname) {
    return info.dli_fname;
  }
  return {};
}

bool IsOurClass(std::string_view classId) {
  return classId == kPickPointHatchClassId || classId == kPickPointHatchClass;
}

}  // namespace
}  // namespace pphatch

using namespace pphatch;

extern "C" {

int32_t DllRegisterServer(void) {
  try {
    const RegistryEntry entry{kPickPointHatchClass, kPickPointHatchClassId, OwnLibraryPath()};
    return RegisterEntry(RegistryFilePath(), entry) ? kPluginOk : kPluginFailure;
  } catch (const std::exception&) {
    return kPluginFailure;
  }
}

int32_t DllUnregisterServer(void) {
  try {
    return UnregisterEntry(RegistryFilePath(), kPickPointHatchClassId) ? kPluginOk : kPluginFailure;
  } catch (const std::exception&) {
    return kPluginFailure;
  }
}

int32_t DllGetClassObject(const char* classId, const char* interfaceId, void** factory) {
  if (!factory) return kPluginInvalidArgument;
  *factory = nullptr;
  if (!classId || !IsOurClass(classId)) return kPluginClassNotAvailable;
  (void)interfaceId;  // the factory is the only interface handed out
  try {
    *factory = static_cast<IClassFactory*>(new PickPointHatchFactory());
    return kPluginOk;
  } catch (const std::exception&) {
    return kPluginFailure;
  }
}

int32_t DllCanUnloadNow(void) { return liveCount.load() == 0 ? kPluginOk : kPluginFalse; }

int32_t PPHatchLoadString(int32_t id, char* buffer, int32_t size) {
  const auto text = StringTableText(id);
  if (!text) return -1;
  const auto length = static_cast<int32_t>(text->size());
  if (buffer && size > length) {
    std::memcpy(buffer, text->data(), text->size());
    buffer[length] = '\0';
  }
  return length;
}

int32_t PPHatchLoadBitmap(int32_t id, unsigned char* buffer, int32_t size) {
  const auto bitmap = BitmapFile(id);
  if (!bitmap) return -1;
  const auto length = static_cast<int32_t>(bitmap->size());
  if (buffer && size >= length) std::memcpy(buffer, bitmap->data(), bitmap->size());
  return length;
}

}  // extern "C"
