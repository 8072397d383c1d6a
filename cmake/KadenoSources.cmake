# Sorts the sources under src/ into the core and the platform libraries by file name:
# a platform implementation is named for what it uses (QtWindow, FluidSynthDevice,
# MessageLogDevice, FileRegistry, Win32Window, Posix..., SpeechDispatcherSpeech), everything
# else is core.
file(GLOB_RECURSE _all CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
set(KADENO_PLATFORM_REGEX "/(Qt[A-Za-z0-9]*|FluidSynth[A-Za-z0-9]*|PulseAudio[A-Za-z0-9]*|MessageLog[A-Za-z0-9]*|Posix[A-Za-z0-9]*|FileRegistry[A-Za-z0-9]*|Win32[A-Za-z0-9]*|SpeechDispatcher[A-Za-z0-9]*|main)\\.cpp$")

set(KADENO_CORE_SOURCES ${_all})
list(FILTER KADENO_CORE_SOURCES EXCLUDE REGEX "${KADENO_PLATFORM_REGEX}")

set(KADENO_POSIX_SOURCES ${_all})
list(FILTER KADENO_POSIX_SOURCES INCLUDE REGEX "/(MessageLog[A-Za-z0-9]*|Posix[A-Za-z0-9]*|FileRegistry[A-Za-z0-9]*)\\.cpp$")

# Windows: its own window, audio, files and registry, and the message log, which is
# portable. The executable's own file stays out of the library.
set(KADENO_WIN32_SOURCES ${_all})
list(FILTER KADENO_WIN32_SOURCES INCLUDE REGEX "/(Win32[A-Za-z0-9]*|MessageLog[A-Za-z0-9]*)\\.cpp$")
list(FILTER KADENO_WIN32_SOURCES EXCLUDE REGEX "/Win32Main\\.cpp$")

set(KADENO_FLUIDSYNTH_SOURCES ${_all})
list(FILTER KADENO_FLUIDSYNTH_SOURCES INCLUDE REGEX "/(FluidSynth|PulseAudio)[A-Za-z0-9]*\\.cpp$")

set(KADENO_SPEECHD_SOURCES ${_all})
list(FILTER KADENO_SPEECHD_SOURCES INCLUDE REGEX "/SpeechDispatcher[A-Za-z0-9]*\\.cpp$")

set(KADENO_QT_SOURCES ${_all})
list(FILTER KADENO_QT_SOURCES INCLUDE REGEX "/Qt[A-Za-z0-9]*\\.cpp$")
file(GLOB_RECURSE _qt_headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/Qt*.h)
file(GLOB_RECURSE _qt_headers2 CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/Qt*.h)
list(APPEND KADENO_QT_SOURCES ${_qt_headers} ${_qt_headers2})

# Headers of the core, for the check that keeps platform includes out of it.
file(GLOB_RECURSE _headers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.h)
set(KADENO_CORE_HEADERS ${_headers})
list(FILTER KADENO_CORE_HEADERS EXCLUDE REGEX "/(Qt[A-Za-z0-9]*|FluidSynth[A-Za-z0-9]*|PulseAudio[A-Za-z0-9]*|MessageLog[A-Za-z0-9]*|Posix[A-Za-z0-9]*|FileRegistry[A-Za-z0-9]*|Win32[A-Za-z0-9]*|SpeechDispatcher[A-Za-z0-9]*)\.h$")
