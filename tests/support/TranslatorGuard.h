// A translator answering with the given lookup, in place for its scope only: taken away at
// its end even when a check throws, so that no later test meets a translator that is gone.
#pragma once

#include <functional>

#include "seams/Translate.h"

namespace kadeno {

class TranslatorGuard : public Translator {
 public:
  explicit TranslatorGuard(std::function<const char*(const char*)> lookup)
      : lookup_(std::move(lookup)) {
    SetTranslator(this);
  }
  ~TranslatorGuard() override { SetTranslator(nullptr); }
  TranslatorGuard(const TranslatorGuard&) = delete;
  TranslatorGuard& operator=(const TranslatorGuard&) = delete;
  const char* Lookup(const char* msgid) const override { return lookup_(msgid); }

 private:
  std::function<const char*(const char*)> lookup_;
};

}  // namespace kadeno
