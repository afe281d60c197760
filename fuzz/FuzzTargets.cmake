# The fuzz targets: fuzz_<name>.cpp each, with its seed corpus in corpus/<name>/.
set(FOLIVOX_FUZZ_TARGETS page_range template settings zip rtf pdf book text render book_text batch_list svg picture epub_page)
set(FOLIVOX_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
