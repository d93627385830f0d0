# Bundled fonts, registered at start-up by Fonts::load(): ":/zorvik/fonts/<file>". Stored
# uncompressed, so that the font database reads them where they lie in the executable instead
# of from a decompressed copy on the heap.
qt_add_resources(zorvik_style "zorvik_fonts"
  PREFIX "/zorvik"
  OPTIONS -no-compress
  BASE "${PROJECT_SOURCE_DIR}/resources"
  FILES
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_400Regular.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_500Medium.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_600SemiBold.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_700Bold.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Inter-Medium-latin.ttf")
