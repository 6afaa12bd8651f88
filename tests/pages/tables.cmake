# The table pages: coefficient tables, NTC tables, battery table, lambda settings.
gasecu_add_test(tst_tables_pages SOURCES tst_tables_pages.cpp tst_pages_fixture.h
  LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_tables_e2e SOURCES tst_tables_e2e.cpp
  LIBS gasecu_gui LABELS e2e)
