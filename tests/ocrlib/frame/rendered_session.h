// A library session reading with a dictionary trained at test time on
// rendered handwriting-style characters (native builds, where FreeType
// renders them): the tests of whatever reads rendered characters share it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "ocrlib/dictbuilder/rendered_training.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

struct RenderedSession {
  std::unique_ptr<glyphs::GlyphRenderer> renderer;
  int16_t handle = -1, dict = -1, env = -1;
};

// Trains `perClass` rendered characters of `set` into a dictionary written
// to `folder` (trained once per test program: the tests of one set share
// it), loads and registers it in a new handle's environment with `mask` as
// its current types. Fails the test when any step fails.
inline void OpenRenderedSession(glyphs::CharSet set, uint32_t mask, int perClass,
                                const TempFolder& folder, RenderedSession* s) {
  std::string error;
  s->renderer = glyphs::GlyphRenderer::Open(&error);
  ASSERT_NE(s->renderer, nullptr) << error;
  static std::map<std::pair<glyphs::CharSet, int>, DictFileSpec> trained;
  const auto key = std::make_pair(set, perClass);
  if (trained.count(key) == 0) {
    DictFileSpec spec;
    BuildReport report;
    ASSERT_EQ(TrainRenderedDict(*s->renderer, set, perClass, &spec, &report, &error), 0) << error;
    trained[key] = spec;
  }
  const DictFileSpec& spec = trained[key];
  s->handle = MupaBegin();
  const std::string path = folder.Write("types.dic", spec);
  s->dict = MupaLoadPatternDict(s->handle, path.c_str());
  ASSERT_GE(s->dict, 0);
  s->env = MupaOpenExecEnv(s->handle, kExecEnvMode);
  ASSERT_EQ(MupaRegisterPatternDict(s->handle, s->env, s->dict), 0);
  ASSERT_EQ(MupaSetCharType(s->handle, s->dict, mask), 0);
}
