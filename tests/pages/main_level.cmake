# The main parameters and level sensor pages.
gasecu_add_test(tst_main_parameters_codec SOURCES tst_main_parameters_codec.cpp
  LIBS gasecu_gui LABELS unit)
gasecu_add_test(tst_main_parameters_page SOURCES tst_main_parameters_page.cpp
  tst_main_parameters_fixture.h LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_main_parameters_writes SOURCES tst_main_parameters_writes.cpp
  tst_main_parameters_fixture.h LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_main_parameters_chain SOURCES tst_main_parameters_chain.cpp
  tst_main_parameters_fixture.h LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_level_percent SOURCES tst_level_percent.cpp LIBS gasecu_gui LABELS unit)
gasecu_add_test(tst_level_page SOURCES tst_level_page.cpp tst_main_parameters_fixture.h
  LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_main_parameters_e2e SOURCES tst_main_parameters_e2e.cpp
  LIBS gasecu_gui LABELS e2e)
