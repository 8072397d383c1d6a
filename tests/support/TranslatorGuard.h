// Puts a translator in place for a scope and takes it away again at its end, also when a
// check throws, so that no later test of the same program meets a translator gone.
#pragma once

#include "seams/Translate.h"

namespace kadeno {

struct TranslatorGuard {
  explicit TranslatorGuard(const Translator* t) { SetTranslator(t); }
  ~TranslatorGuard() { SetTranslator(nullptr); }
  TranslatorGuard(const TranslatorGuard&) = delete;
  TranslatorGuard& operator=(const TranslatorGuard&) = delete;
};

}  // namespace kadeno
