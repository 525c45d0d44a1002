
# Consider dependencies only in project.
set(CMAKE_DEPENDS_IN_PROJECT_ONLY OFF)

# The set of languages for which implicit dependencies are needed:
set(CMAKE_DEPENDS_LANGUAGES
  )

# The set of dependency files which are needed:
set(CMAKE_DEPENDS_DEPENDENCY_FILES
  "/work/wt/integ/bmpconv/bmp_writer.cpp" "CMakeFiles/tessel_core.dir/bmpconv/bmp_writer.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/bmpconv/bmp_writer.cpp.o.d"
  "/work/wt/integ/bmpconv/conv_image.cpp" "CMakeFiles/tessel_core.dir/bmpconv/conv_image.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/bmpconv/conv_image.cpp.o.d"
  "/work/wt/integ/bmpconv/diagnostics.cpp" "CMakeFiles/tessel_core.dir/bmpconv/diagnostics.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/bmpconv/diagnostics.cpp.o.d"
  "/work/wt/integ/bmpconv/png_reader.cpp" "CMakeFiles/tessel_core.dir/bmpconv/png_reader.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/bmpconv/png_reader.cpp.o.d"
  "/work/wt/integ/frontend/bmp_output.cpp" "CMakeFiles/tessel_core.dir/frontend/bmp_output.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/bmp_output.cpp.o.d"
  "/work/wt/integ/frontend/entry.cpp" "CMakeFiles/tessel_core.dir/frontend/entry.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/entry.cpp.o.d"
  "/work/wt/integ/frontend/input_data.cpp" "CMakeFiles/tessel_core.dir/frontend/input_data.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/input_data.cpp.o.d"
  "/work/wt/integ/frontend/payload_input.cpp" "CMakeFiles/tessel_core.dir/frontend/payload_input.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/payload_input.cpp.o.d"
  "/work/wt/integ/frontend/switch_pass.cpp" "CMakeFiles/tessel_core.dir/frontend/switch_pass.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/switch_pass.cpp.o.d"
  "/work/wt/integ/frontend/symbol_files.cpp" "CMakeFiles/tessel_core.dir/frontend/symbol_files.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/symbol_files.cpp.o.d"
  "/work/wt/integ/frontend/symbol_output.cpp" "CMakeFiles/tessel_core.dir/frontend/symbol_output.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/symbol_output.cpp.o.d"
  "/work/wt/integ/frontend/tokenizer.cpp" "CMakeFiles/tessel_core.dir/frontend/tokenizer.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/tokenizer.cpp.o.d"
  "/work/wt/integ/frontend/usage.cpp" "CMakeFiles/tessel_core.dir/frontend/usage.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/frontend/usage.cpp.o.d"
  "/work/wt/integ/payload/epc_payload.cpp" "CMakeFiles/tessel_core.dir/payload/epc_payload.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/epc_payload.cpp.o.d"
  "/work/wt/integ/payload/invoice_text.cpp" "CMakeFiles/tessel_core.dir/payload/invoice_text.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/invoice_text.cpp.o.d"
  "/work/wt/integ/payload/payload_fields.cpp" "CMakeFiles/tessel_core.dir/payload/payload_fields.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/payload_fields.cpp.o.d"
  "/work/wt/integ/payload/payload_kinds.cpp" "CMakeFiles/tessel_core.dir/payload/payload_kinds.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/payload_kinds.cpp.o.d"
  "/work/wt/integ/payload/swiss_payload.cpp" "CMakeFiles/tessel_core.dir/payload/swiss_payload.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/swiss_payload.cpp.o.d"
  "/work/wt/integ/payload/ticketbai_payload.cpp" "CMakeFiles/tessel_core.dir/payload/ticketbai_payload.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/ticketbai_payload.cpp.o.d"
  "/work/wt/integ/payload/vcard_payload.cpp" "CMakeFiles/tessel_core.dir/payload/vcard_payload.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/vcard_payload.cpp.o.d"
  "/work/wt/integ/payload/verifactu_payload.cpp" "CMakeFiles/tessel_core.dir/payload/verifactu_payload.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/verifactu_payload.cpp.o.d"
  "/work/wt/integ/payload/wifi_payload.cpp" "CMakeFiles/tessel_core.dir/payload/wifi_payload.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/payload/wifi_payload.cpp.o.d"
  "/work/wt/integ/platform/posix/command_line.cpp" "CMakeFiles/tessel_core.dir/platform/posix/command_line.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/platform/posix/command_line.cpp.o.d"
  "/work/wt/integ/platform/posix/platform_posix.cpp" "CMakeFiles/tessel_core.dir/platform/posix/platform_posix.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/platform/posix/platform_posix.cpp.o.d"
  "/work/wt/integ/pngwriter/png_symbol_writer.cpp" "CMakeFiles/tessel_core.dir/pngwriter/png_symbol_writer.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/pngwriter/png_symbol_writer.cpp.o.d"
  "/work/wt/integ/runlog/log_message.cpp" "CMakeFiles/tessel_core.dir/runlog/log_message.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/runlog/log_message.cpp.o.d"
  "/work/wt/integ/runlog/run_log.cpp" "CMakeFiles/tessel_core.dir/runlog/run_log.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/runlog/run_log.cpp.o.d"
  "/work/wt/integ/settings/colours.cpp" "CMakeFiles/tessel_core.dir/settings/colours.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/settings/colours.cpp.o.d"
  "/work/wt/integ/settings/print_size.cpp" "CMakeFiles/tessel_core.dir/settings/print_size.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/settings/print_size.cpp.o.d"
  "/work/wt/integ/settings/run_settings.cpp" "CMakeFiles/tessel_core.dir/settings/run_settings.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/settings/run_settings.cpp.o.d"
  "/work/wt/integ/util/byte_sink.cpp" "CMakeFiles/tessel_core.dir/util/byte_sink.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/util/byte_sink.cpp.o.d"
  "/work/wt/integ/util/string_buffer.cpp" "CMakeFiles/tessel_core.dir/util/string_buffer.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/util/string_buffer.cpp.o.d"
  "/work/wt/integ/util/utf8_text.cpp" "CMakeFiles/tessel_core.dir/util/utf8_text.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/util/utf8_text.cpp.o.d"
  "/work/wt/integ/vectorwriter/emf_writer.cpp" "CMakeFiles/tessel_core.dir/vectorwriter/emf_writer.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/vectorwriter/emf_writer.cpp.o.d"
  "/work/wt/integ/vectorwriter/svg_writer.cpp" "CMakeFiles/tessel_core.dir/vectorwriter/svg_writer.cpp.o" "gcc" "CMakeFiles/tessel_core.dir/vectorwriter/svg_writer.cpp.o.d"
  )

# Targets to which this target links.
set(CMAKE_TARGET_LINKED_INFO_FILES
  )

# Fortran module output directory.
set(CMAKE_Fortran_TARGET_MODULE_DIR "")
