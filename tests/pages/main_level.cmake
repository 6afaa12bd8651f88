# The main parameters and level sensor pages, and the chain of parameter pages.
gasecu_add_test(tst_main_parameters_pages SOURCES tst_main_parameters_pages.cpp
  tst_pages_fixture.h LIBS gasecu_gui LABELS screen)
