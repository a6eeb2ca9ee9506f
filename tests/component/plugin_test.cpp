// The plug-in library loaded at run time, as a CAD program loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cmath>
#include <filesystem>

#include "cli/tool_run.h"
#include "memhost/builders.h"
#include "memhost/drawing.h"
#include "memhost/view.h"
#include "pphatch/plugin.h"

namespace pphatch {
namespace {

template <class F>
F Symbol(void* library, const char* name) {
  void* address = dlsym(library, name);
  EXPECT_NE(address, nullptr) << name;
  return reinterpret_cast<F>(address);
}

TEST(Plugin, LoadCreateHatchReleaseUnloadAndRegister) {
  const std::string libraryPath = std::string(PPHATCH_BUILD_DIR) + "/libpphatch.so";
  void* library = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();

  auto getClassObject = Symbol<int32_t (*)(const char*, const char*, void**)>(library, "DllGetClassObject");
  auto canUnloadNow = Symbol<int32_t (*)()>(library, "DllCanUnloadNow");
  auto registerServer = Symbol<int32_t (*)()>(library, "DllRegisterServer");
  auto unregisterServer = Symbol<int32_t (*)()>(library, "DllUnregisterServer");
  auto loadString = Symbol<int32_t (*)(int32_t, char*, int32_t)>(library, "PPHatchLoadString");
  auto loadBitmap = Symbol<int32_t (*)(int32_t, unsigned char*, int32_t)>(library, "PPHatchLoadBitmap");

  void* unknownFactory = nullptr;
  EXPECT_EQ(getClassObject("Other.Class", kPickPointHatchInterface, &unknownFactory),
            kPluginClassNotAvailable);
  EXPECT_EQ(unknownFactory, nullptr);

  void* raw = nullptr;
  ASSERT_EQ(getClassObject(kPickPointHatchClassId, kPickPointHatchInterface, &raw), kPluginOk);
  auto* factory = static_cast<IClassFactory*>(raw);
  IPickPointHatch* object = nullptr;
  ASSERT_EQ(factory->CreateInstance(&object), kPluginOk);
  factory->Release();
  EXPECT_EQ(canUnloadNow(), kPluginFalse);

  auto drawing = mem::MemDrawing::Create();
  mem::AddRectangle(mem::Into(drawing), {0, 0}, {10, 5});
  auto view = std::make_shared<mem::MemView>(drawing, 1000, 750);
  view->SetCentre({5, 2.5});
  view->SetZoom(40);
  ASSERT_TRUE(object->Init(view));
  const mem::Vec2 click = view->ToView({4, 2});
  HostGraphicPtr result;
  std::string error;
  ASSERT_TRUE(object->CreateClosedContour(click.x, click.y, result, error)) << error;
  ASSERT_EQ(result->Graphics()->Count(), 1);
  EXPECT_EQ(result->Graphics()->Item(0)->Vertices()->Count(), 5);
  result.reset();
  // The gap tolerance through the interface: 0 by default, a bad value
  // refused and the old one kept; a click beside the rectangle fails and says why.
  EXPECT_EQ(object->GapTolerance(), 0);
  EXPECT_EQ(object->SetGapTolerance(0.25), kPluginOk);
  EXPECT_EQ(object->SetGapTolerance(-1), kPluginInvalidArgument);
  EXPECT_EQ(object->SetDiagnosisReach(std::nan("")), kPluginInvalidArgument);
  EXPECT_EQ(object->GapTolerance(), 0.25);
  const mem::Vec2 outside = view->ToView({10.5, 2});
  EXPECT_FALSE(object->CreateClosedContour(outside.x, outside.y, result, error));
  EXPECT_EQ(object->Diagnosis().cause, PickDiagnosis::Cause::kNotEnclosed);
  object->Release();
  EXPECT_EQ(canUnloadNow(), kPluginOk);

  // Registration records the class and this library's path, and removes it.
  const cli_test::ScratchDir dir;
  const std::filesystem::path registry = dir.Path() / "registry";
  setenv("PPHATCH_REGISTRY", registry.c_str(), 1);
  ASSERT_EQ(registerServer(), kPluginOk);
  const std::string recorded = cli_test::FileText(registry);
  EXPECT_NE(recorded.find(kPickPointHatchClassId), std::string::npos);
  EXPECT_NE(recorded.find("libpphatch.so"), std::string::npos);
  ASSERT_EQ(registerServer(), kPluginOk);  // registering again keeps one entry
  EXPECT_EQ(cli_test::FileText(registry), recorded);
  ASSERT_EQ(unregisterServer(), kPluginOk);
  EXPECT_EQ(cli_test::FileText(registry).find(kPickPointHatchClassId), std::string::npos);
  unsetenv("PPHATCH_REGISTRY");

  // Resources: the string table and the three bitmaps with their sizes.
  char text[128];
  ASSERT_EQ(loadString(107, text, sizeof text), 50);
  EXPECT_STREQ(text, "Operation can not be performed with these objects.");
  EXPECT_EQ(loadString(118, text, sizeof text), -1);
  struct Expected { int id, width, height, bits; };
  for (const Expected e : {Expected{1001, 16, 15, 8}, Expected{1002, 24, 23, 4}, Expected{1003, 32, 16, 4}}) {
    const int32_t size = loadBitmap(e.id, nullptr, 0);
    ASSERT_GT(size, 54) << e.id;
    std::vector<unsigned char> bytes(size);
    ASSERT_EQ(loadBitmap(e.id, bytes.data(), size), size);
    const auto le = [&](int at, int n) {
      int v = 0;
      for (int i = n - 1; i >= 0; --i) v = v * 256 + bytes[at + i];
      return v;
    };
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(le(2, 4), size);
    EXPECT_EQ(le(18, 4), e.width);
    EXPECT_EQ(le(22, 4), e.height);
    EXPECT_EQ(le(28, 2), e.bits);
    const int rowBytes = ((e.width * e.bits + 31) / 32) * 4;
    EXPECT_EQ(size, 54 + 4 * (1 << e.bits) + rowBytes * e.height);
  }
  EXPECT_EQ(loadBitmap(1004, nullptr, 0), -1);
  dlclose(library);
}

}  // namespace
}  // namespace pphatch
