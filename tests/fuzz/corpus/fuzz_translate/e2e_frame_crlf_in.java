1frame Report
{
};
