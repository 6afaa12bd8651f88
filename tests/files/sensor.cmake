# Sensor files and the level sensor page's load and save.
gasecu_add_test(tst_sensor_file SOURCES tst_sensor_file.cpp LIBS gasecu_gui LABELS unit)
