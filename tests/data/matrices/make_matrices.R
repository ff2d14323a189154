# Makes the R samples of pasted covariance matrices that
# tests/matrix_reader_test.cpp reads: what R itself prints for
# print(vcov(fit)) and writes for write.csv(vcov(fit)), on the fits of
# tests/data/r_fits.R (one per model form, R's own names kept) and on a wide
# 16 x 16 fit that R prints in column blocks.
#
# Run from the top of the source tree:
#   Rscript tests/data/matrices/make_matrices.R
# The outputs go next to this script; they are kept in the repository, so the
# test suite does not need R.

source("tests/data/r_fits.R")
out <- "tests/data/matrices"

save_print <- function(v, file, width = 80) {
  old <- options(width = width)
  on.exit(options(old))
  writeLines(capture.output(print(v)), file.path(out, file))
}

save_csv <- function(v, file) write.csv(v, file.path(out, file))

fits <- marvane_fits()
# Quant and QuantZ share one fit.
for (form in c("Quant", "Mixed2", "Mixed3", "Quant3", "Incomplete")) {
  v <- vcov(fits[[form]]$fit)
  stem <- tolower(form)
  save_print(v, paste0("r_print_", stem, ".txt"))
  save_csv(v, paste0("r_csv_", stem, ".csv"))
}

# Narrow consoles: R breaks the columns into blocks.
save_print(vcov(fits$Quant3$fit), "r_print_quant3_width60.txt", width = 60)
save_print(vcov(fits$Mixed3$fit), "r_print_mixed3_width60.txt", width = 60)

# A wide matrix: all interactions of four predictors of mtcars, 16 x 16.
wide <- vcov(lm(mpg ~ wt * hp * disp * qsec, data = mtcars))
save_print(wide, "r_print_wide16.txt")
save_print(wide, "r_print_wide16_width60.txt", width = 60)
save_csv(wide, "r_csv_wide16.csv")

# Names with blanks (and commas) in them, as poly() makes them.
save_print(vcov(lm(mpg ~ poly(wt, 2) * hp, data = mtcars)), "r_print_poly.txt")
