# Writes pasted models in the documented layouts of Stata's `regress` table
# and SPSS's Coefficients (and ANOVA) tables, with the numbers of R's own fits:
# neither Stata nor SPSS made these files. Each starts with "# " lines that say
# so, which the tests leave out.
#
# Run from the top of the source tree (after make_models.R):
#   Rscript tests/data/models/imitate_models.R

out <- "tests/data/models"
centre <- function(x) x - mean(x)

# Stata shows numbers in about seven significant digits, without a leading 0.
stata <- function(x, width = 10) {
  s <- formatC(signif(x, 7), digits = 7, format = "fg", flag = "#")
  s <- sub("\\.?0+$", "", s)
  s <- sub("^(-?)0\\.", "\\1.", s)
  formatC(s, width = width)
}
# SPSS shows three decimals, without a leading 0.
spss <- function(x) sub("^(-?)0\\.", "\\1.", sprintf("%.3f", x))

air <- na.omit(airquality[, c("Ozone", "Wind", "Temp")])
air$wind_c <- centre(air$Wind)
air$temp_c <- centre(air$Temp)
fit <- lm(Ozone ~ wind_c * temp_c, data = air)
a <- anova(lm(Ozone ~ wind_c * temp_c, data = air))
cs <- coef(summary(fit))
ci <- confint(fit)
ss_model <- sum(a[1:3, "Sum Sq"])
ss_res <- a["Residuals", "Sum Sq"]
df_res <- df.residual(fit)
n <- nobs(fit)
row <- function(name, k) {
  sprintf("%12s | %10s %10s %8.2f   %5.3f   %10s %10s", name, stata(cs[k, 1]), stata(cs[k, 2]),
          cs[k, 3], cs[k, 4], stata(ci[k, 1]), stata(ci[k, 2]))
}
writeLines(c(
  "# Imitates Stata's `regress ozone c.wind_c##c.temp_c` output (the layout of Stata's manual, [R] regress; not made",
  "# by Stata): the numbers are those of R's lm(Ozone ~ Wind_c * Temp_c) on airquality.",
  ". regress ozone c.wind_c##c.temp_c",
  "",
  sprintf("      Source |       SS           df       MS      Number of obs   = %9d", n),
  sprintf("-------------+----------------------------------   F(3, %d)       = %9.2f", df_res,
          summary(fit)$fstatistic[1]),
  sprintf("       Model | %11s %9d %11s   Prob > F        =    0.0000", stata(ss_model, 11), 3,
          stata(ss_model / 3, 11)),
  sprintf("    Residual | %11s %9d %11s   R-squared       =    %.4f", stata(ss_res, 11), df_res,
          stata(ss_res / df_res, 11), summary(fit)$r.squared),
  sprintf("-------------+----------------------------------   Adj R-squared   =    %.4f", summary(fit)$adj.r.squared),
  sprintf("       Total | %11s %9d %11s   Root MSE        =    %.3f", stata(ss_model + ss_res, 11), n - 1,
          stata((ss_model + ss_res) / (n - 1), 11), summary(fit)$sigma),
  "",
  "------------------------------------------------------------------------------",
  "       ozone | Coefficient  Std. err.      t    P>|t|     [95% conf. interval]",
  "-------------+----------------------------------------------------------------",
  row("wind_c", 2),
  row("temp_c", 3),
  "             |",
  "    c.wind_c#|",
  row("c.temp_c", 4),
  "             |",
  row("_cons", 1),
  "------------------------------------------------------------------------------"),
  file.path(out, "stata_airquality_regress.txt"))

# The same fit's e(V), as `matrix list e(V)` lists it (Stata's order: _cons last).
v <- vcov(fit)[c(2, 3, 4, 1), c(2, 3, 4, 1)]
names <- c("wind_c", "temp_c", "c.wind_c#c.temp_c", "_cons")
lines <- c(". matrix list e(V)", "", "symmetric e(V)[4,4]",
           "                   wind_c       temp_c  c.wind_c#c.temp_c        _cons")
for (i in 1:4) lines <- c(lines, paste0(formatC(names[i], width = 17),
                                        paste(sapply(1:i, function(j) stata(v[i, j], 12)), collapse = " ")))
writeLines(c("# Imitates Stata's `matrix list e(V)` after the regress above (not made by Stata; R's numbers).", lines),
           file.path(out, "stata_airquality_vce.txt"))

# A factor: regress len i.supp##c.dosec, the levels shown by their labels.
tooth <- ToothGrowth
tooth$dosec <- centre(tooth$dose)
tfit <- lm(len ~ supp * dosec, data = tooth)
cs <- coef(summary(tfit))
ci <- confint(tfit)
writeLines(c(
  "# Imitates Stata's `regress len i.supp##c.dosec` coefficient table (the layout of Stata's manual, [R] regress;",
  "# not made by Stata): the numbers are those of R's lm(len ~ supp * dose_c) on ToothGrowth.",
  "------------------------------------------------------------------------------",
  "         len | Coefficient  Std. err.      t    P>|t|     [95% conf. interval]",
  "-------------+----------------------------------------------------------------",
  "        supp |",
  row("VC ", 2),
  row("dosec", 3),
  "             |",
  "  supp#dosec |",
  row("VC ", 4),
  "             |",
  row("_cons", 1),
  "------------------------------------------------------------------------------"),
  file.path(out, "stata_toothgrowth_regress.txt"))

# SPSS: the ANOVA and Coefficients tables of the airquality fit, copied from
# the viewer as tab-separated text; the product computed by hand as WindTemp.
cs <- coef(summary(fit))
x <- cbind(air$wind_c, air$temp_c, air$wind_c * air$temp_c)
beta <- cs[-1, 1] * apply(x, 2, sd) / sd(air$Ozone)
terms <- c("(Constant)", "Wind_c", "Temp_c", "WindTemp")
coef_lines <- sapply(1:4, function(k) paste(c(if (k == 1) "1" else "", terms[k], spss(cs[k, 1]), spss(cs[k, 2]),
                                              if (k == 1) "" else spss(beta[k - 1]), spss(cs[k, 3]),
                                              spss(cs[k, 4])), collapse = "\t"))
writeLines(c(
  "# Imitates SPSS's ANOVA and Coefficients tables copied from the output viewer as tab-separated text (their",
  "# documented layout; not made by SPSS): the numbers are those of R's lm(Ozone ~ Wind_c * Temp_c) on airquality.",
  "ANOVAa",
  "Model\t\tSum of Squares\tdf\tMean Square\tF\tSig.",
  paste(c("1", "Regression", sprintf("%.3f", ss_model), "3", sprintf("%.3f", ss_model / 3),
          sprintf("%.3f", summary(fit)$fstatistic[1]), ".000b"), collapse = "\t"),
  paste(c("", "Residual", sprintf("%.3f", ss_res), df_res, sprintf("%.3f", ss_res / df_res), "", ""), collapse = "\t"),
  paste(c("", "Total", sprintf("%.3f", ss_model + ss_res), n - 1, "", "", ""), collapse = "\t"),
  "a. Dependent Variable: Ozone",
  "b. Predictors: (Constant), WindTemp, Temp_c, Wind_c",
  "",
  "Coefficientsa",
  "Model\t\tUnstandardized Coefficients\t\tStandardized Coefficients\tt\tSig.",
  "\t\tB\tStd. Error\tBeta\t\t",
  coef_lines,
  "a. Dependent Variable: Ozone"),
  file.path(out, "spss_airquality_coefficients.txt"))
