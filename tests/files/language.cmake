# Language files: decoding, the line's texts, the shipped translations.
gasecu_add_test(tst_language_file SOURCES tst_language_file.cpp LIBS gasecu_core LABELS unit)
target_compile_definitions(tst_language_file PRIVATE
  GASECU_SOURCE_LANGUAGES="${CMAKE_SOURCE_DIR}/languages")
