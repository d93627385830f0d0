# Resources compiled into zorvik_ui. Each resource set gets its own qt_add_resources() call.

# Bundled fonts, registered at start-up by Fonts::load(): ":/zorvik/fonts/<file>".
qt_add_resources(zorvik_ui "zorvik_fonts"
  PREFIX "/zorvik"
  BASE "${PROJECT_SOURCE_DIR}/resources"
  FILES
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_400Regular.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_500Medium.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_600SemiBold.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Nunito_700Bold.ttf"
    "${PROJECT_SOURCE_DIR}/resources/fonts/Inter-Medium-latin.woff2")
