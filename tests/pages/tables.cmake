# The table pages: coefficient tables, NTC tables, battery table, lambda settings.
gasecu_add_test(tst_coefficient_codec SOURCES tst_coefficient_codec.cpp LIBS gasecu_gui LABELS unit)
gasecu_add_test(tst_coefficient_page SOURCES tst_coefficient_page.cpp tst_coefficient_fixture.h
  LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_ntc SOURCES tst_ntc.cpp tst_coefficient_fixture.h LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_battery_table SOURCES tst_battery_table.cpp LIBS gasecu_gui LABELS unit)
gasecu_add_test(tst_battery_page SOURCES tst_battery_page.cpp tst_coefficient_fixture.h
  LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_lambda_codec SOURCES tst_lambda_codec.cpp LIBS gasecu_gui LABELS unit)
gasecu_add_test(tst_lambda_page SOURCES tst_lambda_page.cpp tst_coefficient_fixture.h
  LIBS gasecu_gui LABELS screen)
gasecu_add_test(tst_tables_e2e SOURCES tst_tables_e2e.cpp LIBS gasecu_gui gasecu_dump LABELS e2e)
