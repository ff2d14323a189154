# Makes the R samples of pasted models that tests/model_reader_test.cpp and
# tests/mapping_test.cpp read: what R itself prints and writes for seven
# ordinary fits on R's own datasets, each fitted in two term orders.
#
# Run from the top of the source tree:
#   Rscript tests/data/models/make_models.R
# The outputs go next to this script; they are kept in the repository, so the
# test suite does not need R.
#
# For each fit <id> and order <o> ("a": as the issue writes the formula, "b":
# the terms of the product reversed, covariates reversed too):
#   <id>_<o>_summary.txt     print(summary(fit))
#   <id>_<o>_coefs.txt       print(coef(summary(fit)))
#   <id>_<o>_coef.txt        print(coef(fit))
#   <id>_<o>_coef_w40.txt    print(coef(fit)) with options(width = 40)
#   <id>_<o>_coefs.csv       write.csv(coef(summary(fit)))
#   <id>_<o>_vcov.txt        print(vcov(fit))
#   <id>_<o>_vcov3.txt       print(vcov(fit), digits = 3)
#   <id>_<o>_vcov.csv        write.csv(vcov(fit))
#   <id>_<o>_vcov2.csv       write.csv2(vcov(fit))
#   <id>_<o>_cor.txt         print(cov2cor(vcov(fit)))
#   <id>_<o>_truth.txt       what the tests compare with: "df <residual df>",
#                            "n <observations>", then one line per term:
#                            "<term>\t<estimate>\t<SE>" in 17 digits.

out <- "tests/data/models"
centre <- function(x) x - mean(x)

air <- na.omit(airquality[, c("Ozone", "Wind", "Temp")])
air$Wind_c <- centre(air$Wind)
air$Temp_c <- centre(air$Temp)

tooth <- ToothGrowth
tooth$dose_c <- centre(tooth$dose)

chick <- as.data.frame(ChickWeight)
chick <- chick[chick$Diet %in% c("1", "2", "3"), ]
chick$Diet <- droplevels(chick$Diet)
chick$Time_c <- centre(chick$Time)

savings <- LifeCycleSavings
savings$pop15_c <- centre(savings$pop15)
savings$dpi_c <- centre(savings$dpi)

stack <- stackloss
stack$Air.Flow_c <- centre(stack$Air.Flow)
stack$Water.Temp_c <- centre(stack$Water.Temp)
stack$Acid.Conc._c <- centre(stack$Acid.Conc.)

sw <- swiss
sw$Education_c <- centre(sw$Education)
sw$Agriculture_c <- centre(sw$Agriculture)

fits <- list(
  airquality = list(data = "air",
                    a = Ozone ~ Wind_c * Temp_c,
                    b = Ozone ~ Temp_c * Wind_c),
  toothgrowth = list(data = "tooth",
                     a = len ~ supp * dose_c,
                     b = len ~ dose_c * supp),
  chickweight = list(data = "chick",
                     a = weight ~ Diet * Time_c,
                     b = weight ~ Time_c * Diet),
  savings = list(data = "savings",
                 a = sr ~ pop15_c * dpi_c,
                 b = sr ~ dpi_c * pop15_c),
  savings6 = list(data = "savings",
                  a = sr ~ pop15_c * dpi_c + pop75 + ddpi,
                  b = sr ~ ddpi + pop75 + dpi_c * pop15_c),
  stackloss = list(data = "stack",
                   a = stack.loss ~ Air.Flow_c * Water.Temp_c * Acid.Conc._c,
                   b = stack.loss ~ Acid.Conc._c * Water.Temp_c * Air.Flow_c),
  swiss = list(data = "sw",
               a = Fertility ~ Education_c * Agriculture_c + Catholic + Infant.Mortality,
               b = Fertility ~ Infant.Mortality + Catholic + Agriculture_c * Education_c)
)

save <- function(lines, file) writeLines(lines, file.path(out, file))
printed <- function(x, width = 80, ...) {
  old <- options(width = width)
  on.exit(options(old))
  capture.output(print(x, ...))
}

for (id in names(fits)) {
  for (o in c("a", "b")) {
    # Called so that summary() shows the formula and the data's name.
    fit <- eval(call("lm", fits[[id]][[o]], data = as.name(fits[[id]]$data)))
    stem <- paste0(id, "_", o, "_")
    save(printed(summary(fit)), paste0(stem, "summary.txt"))
    save(printed(coef(summary(fit))), paste0(stem, "coefs.txt"))
    save(printed(coef(fit)), paste0(stem, "coef.txt"))
    save(printed(coef(fit), width = 40), paste0(stem, "coef_w40.txt"))
    write.csv(coef(summary(fit)), file.path(out, paste0(stem, "coefs.csv")))
    save(printed(vcov(fit)), paste0(stem, "vcov.txt"))
    save(printed(vcov(fit), digits = 3), paste0(stem, "vcov3.txt"))
    write.csv(vcov(fit), file.path(out, paste0(stem, "vcov.csv")))
    write.csv2(vcov(fit), file.path(out, paste0(stem, "vcov2.csv")))
    save(printed(cov2cor(vcov(fit))), paste0(stem, "cor.txt"))
    cs <- coef(summary(fit))
    save(c(paste("df", df.residual(fit)), paste("n", nobs(fit)),
           sprintf("%s\t%.17g\t%.17g", rownames(cs), cs[, 1], cs[, 2])),
         paste0(stem, "truth.txt"))
  }
}
