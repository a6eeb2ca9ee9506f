// The plug-in interface of libpphatch: what a CAD program that loads the
// component at run time (dlopen) finds in it.
//
// The library exports four C entry points. DllGetClassObject hands out a
// class factory that creates PickPointHatch objects behind the small, stable
// interface IPickPointHatch; DllCanUnloadNow tells the host when no object
// or factory lock is left; DllRegisterServer and DllUnregisterServer record
// and remove the component in the per-user registry file. The string table
// and the toolbar bitmaps are read with PPHatchLoadString and
// PPHatchLoadBitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pphatch/host.h"
#include "pphatch/pick_diagnosis.h"

namespace pphatch {

/// Result codes of the entry points.
enum PluginResult : int32_t {
  kPluginOk = 0,             ///< done; for DllCanUnloadNow: the library may be unloaded
  kPluginFalse = 1,          ///< DllCanUnloadNow: objects are still alive
  kPluginClassNotAvailable = -2147221231,  ///< unknown class name
  kPluginInvalidArgument = -2147024809,
  kPluginFailure = -2147467259,
};

/// The one class the library creates, and its default interface.
inline constexpr const char* kPickPointHatchClass = "PPHatch.PickPointHatch";
inline constexpr const char* kPickPointHatchClassId = "{5B1E6E0A-8C57-4C7B-9B7F-2F6D3A9C4E11}";
inline constexpr const char* kPickPointHatchInterface = "_PickPointHatch";

/// A PickPointHatch object as a plug-in host sees it. Release ends its life.
class IPickPointHatch {
 public:
  virtual bool Init(const HostViewPtr& pwView) = 0;
  virtual bool CreateClosedContour(double xView, double yView, HostGraphicPtr& resultGraphic,
                                   std::string& errorString) = 0;
  virtual void Release() = 0;
  /// The gap tolerance in drawing units (PickPointHatch::GapTolerance).
  virtual double GapTolerance() = 0;
  /// kPluginOk, or kPluginInvalidArgument for a negative or non-finite value.
  virtual int32_t SetGapTolerance(double gap) = 0;
  /// The largest tolerance a diagnosis tries; 0: 1 % of the view's height.
  virtual double DiagnosisReach() = 0;
  /// kPluginOk, or kPluginInvalidArgument for a negative or non-finite value.
  virtual int32_t SetDiagnosisReach(double reach) = 0;
  /// Why the last CreateClosedContour found no area, or the bridges of its
  /// area; valid until the next request or Release.
  virtual const PickDiagnosis& Diagnosis() = 0;

 protected:
  virtual ~IPickPointHatch() = default;
};

/// Creates IPickPointHatch objects.
class IClassFactory {
 public:
  virtual int32_t CreateInstance(IPickPointHatch** object) = 0;
  /// Keeps the library loaded while locked (DllCanUnloadNow says false).
  virtual int32_t LockServer(bool lock) = 0;
  virtual void Release() = 0;

 protected:
  virtual ~IClassFactory() = default;
};

}  // namespace pphatch

extern "C" {
/// Records the component (name, class, library path) in the registry file.
int32_t DllRegisterServer(void);
/// Removes the component's entry from the registry file.
int32_t DllUnregisterServer(void);
/// The class factory for `classId` (kPickPointHatchClassId or the class name).
int32_t DllGetClassObject(const char* classId, const char* interfaceId, void** factory);
/// kPluginOk when no object or lock is alive, else kPluginFalse.
int32_t DllCanUnloadNow(void);
/// Copies string `id` (101..117) with its terminating zero into `buffer`;
/// returns the text's length, or -1 for an unknown id. A too small buffer
/// receives nothing but the length is still returned.
int32_t PPHatchLoadString(int32_t id, char* buffer, int32_t size);
/// Copies bitmap `id` (1001..1003) as a BMP file into `buffer`; returns its
/// size in bytes, or -1 for an unknown id. Call with size 0 to learn the size.
int32_t PPHatchLoadBitmap(int32_t id, unsigned char* buffer, int32_t size);
}
