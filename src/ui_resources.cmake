# Resources compiled into zorvik_ui. Each resource set gets its own qt_add_resources() call.

# Bundled fonts, registered at start-up by Fonts::load(): ":/zorvik/fonts/<file>". Stored
# uncompressed, so that the font database reads them where they lie in the executable instead
# of from a decompressed copy on the heap.
qt_add_resources(zorvik_ui "zorvik_fonts"
  PREFIX "/zorvik"
  OPTIONS -no-compress
  BASE "${PROJECT_SOURCE_DIR}/resources"
  FILES
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_400Regular.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_500Medium.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_600SemiBold.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_700Bold.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Inter-Medium-latin.ttf")

# The panel's texts in other languages, compiled by lrelease at build time from the .ts files
# in resources/translations and bundled as ":/translations/zorvik_<language>.qm" for
# Translations::install(). `cmake --build <dir> --target update_translations` refreshes the
# .ts files from the sources.
# lupdate reads all of src/ (the shell's menu texts live outside zorvik_ui).
file(GLOB zorvik_ts_files CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/resources/translations/zorvik_*.ts")
file(GLOB_RECURSE zorvik_tr_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/*.cpp" "${PROJECT_SOURCE_DIR}/src/*.h")
qt_add_translations(zorvik_ui
  TS_FILES ${zorvik_ts_files}
  SOURCES ${zorvik_tr_sources}
  INCLUDE_DIRECTORIES "${PROJECT_SOURCE_DIR}/src"
  RESOURCE_PREFIX "/translations"
  LUPDATE_OPTIONS -no-obsolete -locations none)
